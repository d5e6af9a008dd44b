// Resource identifiers shared by quipstream.rc and the Win32 code.
#pragma once

#define IDI_QUIPSTREAM 1

// Picture strips, one per pixel size; the cell order is qs::win32::Picture.
#define IDB_PICTURES16 101
#define IDB_PICTURES20 102
#define IDB_PICTURES24 103
#define IDB_PICTURES32 104
