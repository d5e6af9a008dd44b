#include "platform/win32/win32_groups_window.h"
#include "platform/win32/win32_window_proc.h"

#include <commctrl.h>

#include <algorithm>
#include <exception>
#include <stdexcept>
#include <string>

#include "model/cp1251.h"
#include "platform/win32/text_convert.h"
#include "platform/win32/win32_flat_button.h"
#include "platform/win32/win32_modal_view.h"
#include "ui/group_manager.h"

namespace qs::win32 {
namespace {

constexpr wchar_t kClassName[] = L"QuipstreamGroupsWindow";
constexpr wchar_t kTitle[] = L"Управление группами";
constexpr DWORD kStyle = WS_POPUP | WS_CLIPCHILDREN;  // no title bar, no frame
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;
constexpr SIZE kClientSize{393, 392};

enum FontIndex : int { kNormal, kCloseFont, kTitleFont };
constexpr FontStyle kFonts[] = {{8, false}, {10, true}, {12, true}};

enum ControlId : int {
  kTypeuslugTable = 1001,
  kAddTypeButton,
  kEditTypeButton,
  kDeleteTypeButton,
  kAdvGlassButton1,  // "X"
};

// The grid's names sit in its second column: a list view's first column
// is always left-aligned, so the first one is kept empty and zero wide.
constexpr int kNameColumn = 1;

constexpr DWORD kGridStyle =
    WS_TABSTOP | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS;

// Those with WS_TABSTOP come in tab order: the grid, then the buttons.
constexpr ControlDef kControls[] = {
    {kTypeuslugTable, WC_LISTVIEWW, L"", kGridStyle, WS_EX_CLIENTEDGE, {4, 27, 304, 388}, kNormal},
    {kAddTypeButton, L"BUTTON", L"Добавить", WS_TABSTOP | BS_PUSHBUTTON, 0, {309, 27, 389, 57},
     kNormal},
    {kEditTypeButton, L"BUTTON", L"Изменить", WS_TABSTOP | BS_PUSHBUTTON, 0, {309, 63, 389, 93},
     kNormal},
    {kDeleteTypeButton, L"BUTTON", L"Удалить", WS_TABSTOP | BS_PUSHBUTTON, 0, {309, 99, 389, 129},
     kNormal},
    {kAdvGlassButton1, kFlatButtonClass, L"X", 0, 0, {372, 3, 390, 21}, kCloseFont},
};

// Label1, drawn by the window itself: the title across the top, which
// moves the window when a mouse button goes down on it.
constexpr RECT kLabel1{0, 0, 393, 23};
constexpr COLORREF kTopColour = RGB(255, 255, 255);
constexpr COLORREF kBottomColour = RGB(214, 228, 246);
constexpr COLORREF kFrameColour = RGB(122, 150, 190);
constexpr COLORREF kCloseColour = RGB(210, 0, 0);
constexpr UINT kReselectMessage = WM_APP + 1;
// SC_MOVE with the caption's hit-test code: the system drags the window.
constexpr WPARAM kMoveByCaption = 0xF012;

void RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kClassName;
  ::RegisterClassExW(&wc);
}

BYTE Mix(int top, int bottom, int y, int height) {
  return static_cast<BYTE>(top + (bottom - top) * y / std::max(height, 1));
}

COLORREF ColourAt(int y, int height) {
  return RGB(Mix(GetRValue(kTopColour), GetRValue(kBottomColour), y, height),
             Mix(GetGValue(kTopColour), GetGValue(kBottomColour), y, height),
             Mix(GetBValue(kTopColour), GetBValue(kBottomColour), y, height));
}

COLOR16 Channel(BYTE value) { return static_cast<COLOR16>(value << 8); }

void SetRowState(HWND grid, int row, UINT mask, UINT state) {
  LVITEMW item{};
  item.stateMask = mask;
  item.state = state;
  ::SendMessageW(grid, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void SetName(HWND grid, std::size_t row, const std::wstring& text) {
  LVITEMW item{};
  item.iSubItem = kNameColumn;
  item.pszText = const_cast<wchar_t*>(text.c_str());
  ::SendMessageW(grid, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
}

std::size_t RowCount(HWND grid) {
  const auto count = ::SendMessageW(grid, LVM_GETITEMCOUNT, 0, 0);
  return count > 0 ? static_cast<std::size_t>(count) : 0;
}

}  // namespace

Win32GroupsWindow::Win32GroupsWindow(HINSTANCE instance, HWND owner, HWND centreOver)
    : owner_(owner), centreOver_(centreOver) {
  RegisterWindowClass(instance, &ObjectWindowProc<Win32GroupsWindow>);
  RegisterFlatButtonClass(instance);
  if (!::CreateWindowExW(kExStyle, kClassName, kTitle, kStyle, 0, 0, 0, 0, owner, nullptr, instance,
                         this)) {
    throw std::runtime_error(std::string("Не удалось создать окно групп: "_cp1251) +
                             LastErrorText());
  }
  CreateControls(instance);
  const UINT dpi = WindowDpi(hwnd());
  const SIZE size = WindowSizeFor(kClientSize, kStyle, kExStyle, dpi);
  ::SetWindowPos(hwnd(), nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ApplyDpi(dpi);
  CenterWindow(hwnd(), centreOver_);
}

HWND Win32GroupsWindow::Grid() const { return Item(kTypeuslugTable); }

void Win32GroupsWindow::CreateControls(HINSTANCE instance) {
  if (!qs::win32::CreateControls(hwnd(), instance, kControls)) {
    throw std::runtime_error(std::string("Не удалось создать элементы окна групп: "_cp1251) +
                             LastErrorText());
  }
  constexpr DWORD kGridExStyle = LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER;
  ::SendMessageW(Grid(), LVM_SETEXTENDEDLISTVIEWSTYLE, kGridExStyle, kGridExStyle);
  for (int column = 0; column <= kNameColumn; ++column) {
    LVCOLUMNW def{};
    def.mask = LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM;
    def.fmt = column == kNameColumn ? LVCFMT_CENTER : LVCFMT_LEFT;
    def.iSubItem = column;
    ::SendMessageW(Grid(), LVM_INSERTCOLUMNW, static_cast<WPARAM>(column),
                   reinterpret_cast<LPARAM>(&def));
  }
  SetRowCount(1);
  SetFlatButtonTextColor(Item(kAdvGlassButton1), kCloseColour);
  tooltips_.emplace(instance, hwnd());
  tooltips_->Add(Item(kAdvGlassButton1), "Закрыть окно"_cp1251);
  focus_.Remember(Grid());
}

// The name column fills the grid but for a vertical scroll bar, so that a
// horizontal one is never needed.
void Win32GroupsWindow::ApplyDpi(UINT dpi) {
  dpi_ = dpi;
  ViewFonts fonts(kFonts, dpi);
  PlaceControls(hwnd(), kControls, dpi, fonts);
  fonts_ = std::move(fonts);
  RECT grid{};
  ::GetWindowRect(Grid(), &grid);
  const int width = (grid.right - grid.left) - 2 * ::GetSystemMetrics(SM_CXEDGE) -
                    ::GetSystemMetrics(SM_CXVSCROLL);
  ::SendMessageW(Grid(), LVM_SETCOLUMNWIDTH, 0, 0);
  ::SendMessageW(Grid(), LVM_SETCOLUMNWIDTH, kNameColumn, std::max(width, 0));
  ::InvalidateRect(hwnd(), nullptr, TRUE);
}

LRESULT Win32GroupsWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom == static_cast<UINT_PTR>(kTypeuslugTable)) OnGridNotify(*header);
      return 0;
    }
    case kReselectMessage:
      if (::SendMessageW(Grid(), LVM_GETSELECTEDCOUNT, 0, 0) == 0) ShowSelection();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      Label1MouseDown({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
      return 0;
    case WM_CLOSE:
      if (modal_) {
        Close();
      } else {
        ::ShowWindow(hwnd(), SW_HIDE);
      }
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        focus_.Deactivated(hwnd());
      } else {
        focus_.Activated(hwnd());
      }
      return 0;
    case DM_GETDEFID: return DefaultButtonId(hwnd());
    case WM_ERASEBKGND: PaintBackground(reinterpret_cast<HDC>(wParam)); return 1;
    case WM_PRINTCLIENT: PaintTitle(reinterpret_cast<HDC>(wParam)); return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(hwnd(), &ps);
      PaintTitle(dc);
      ::EndPaint(hwnd(), &ps);
      return 0;
    }
    case WM_CTLCOLORBTN: {
      // The corners of the push buttons, which sit near the top.
      HDC dc = reinterpret_cast<HDC>(wParam);
      RECT client{};
      ::GetClientRect(hwnd(), &client);
      ::SetDCBrushColor(dc, ColourAt(Scale(60, dpi_), client.bottom));
      return reinterpret_cast<LRESULT>(::GetStockObject(DC_BRUSH));
    }
    default: return ::DefWindowProcW(hwnd(), message, wParam, lParam);
  }
}

void Win32GroupsWindow::OnCommand(int id, int code) {
  if (!logic_ || code != BN_CLICKED) return;
  switch (id) {
    case kAddTypeButton: logic_->Add_type_buttonClick(); break;
    case kEditTypeButton: logic_->Edit_type_buttonClick(); break;
    case kDeleteTypeButton: logic_->Delete_type_buttonClick(); break;
    case kAdvGlassButton1: logic_->AdvGlassButton1Click(); break;
    default: break;
  }
}

void Win32GroupsWindow::OnGridNotify(const NMHDR& header) {
  if (header.code != LVN_ITEMCHANGED) return;
  const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
  if (!(change.uChanged & LVIF_STATE) || change.iItem < 0) return;
  const bool was = (change.uOldState & LVIS_SELECTED) != 0;
  const bool is = (change.uNewState & LVIS_SELECTED) != 0;
  if (is && !was) selectedRow_ = static_cast<std::size_t>(change.iItem);
  // Another row may be about to take the selection; look once it has.
  if (was && !is) ::PostMessageW(hwnd(), kReselectMessage, 0, 0);
}

void Win32GroupsWindow::Label1MouseDown(POINT client) {
  const RECT label = Scale(kLabel1, dpi_);
  if (!::PtInRect(&label, client)) return;
  ::ReleaseCapture();
  ::SendMessageW(hwnd(), WM_SYSCOMMAND, kMoveByCaption, 0);
}

void Win32GroupsWindow::PaintBackground(HDC dc) const {
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  TRIVERTEX corners[2] = {
      {client.left, client.top, Channel(GetRValue(kTopColour)), Channel(GetGValue(kTopColour)),
       Channel(GetBValue(kTopColour)), 0},
      {client.right, client.bottom, Channel(GetRValue(kBottomColour)),
       Channel(GetGValue(kBottomColour)), Channel(GetBValue(kBottomColour)), 0},
  };
  GRADIENT_RECT band{0, 1};
  ::GdiGradientFill(dc, corners, 2, &band, 1, GRADIENT_FILL_RECT_V);
}

// The title and a thin frame, which a borderless window otherwise lacks.
void Win32GroupsWindow::PaintTitle(HDC dc) const {
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
  HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(DC_PEN));
  ::SetDCPenColor(dc, kFrameColour);
  ::Rectangle(dc, client.left, client.top, client.right, client.bottom);
  ::SelectObject(dc, oldPen);
  ::SelectObject(dc, oldBrush);

  RECT label = Scale(kLabel1, dpi_);
  HGDIOBJ oldFont = ::SelectObject(dc, fonts_[kTitleFont]);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
  ::DrawTextW(dc, L"Группы", -1, &label, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  ::SelectObject(dc, oldFont);
}

// Key preview: Insert is the window's wherever the focus is, and one press
// adds once (the key's auto-repeat does not add again); Enter and Delete
// belong to the grid; Esc closes.
bool Win32GroupsWindow::PreTranslateMessage(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST || !IsFor(hwnd(), msg)) return false;
  if (msg.message == WM_KEYDOWN && logic_) {
    const auto key = static_cast<unsigned>(msg.wParam);
    const bool repeated = (msg.lParam & (1 << 30)) != 0;
    bool used = false;
    RunGuarded(hwnd(), [&] {
      used = (!repeated && logic_->FormKeyDown(key)) ||
             (msg.hwnd == Grid() && logic_->typeuslug_tableKeyDown(key)) ||
             (key == VK_ESCAPE && logic_->FormKeyPress(27));
    });
    if (used) return true;
  }
  return ::IsDialogMessageW(hwnd(), &msg) != FALSE;
}

void Win32GroupsWindow::ShowSelection() {
  const std::size_t row = SelectedRow();
  SetRowState(Grid(), static_cast<int>(row), LVIS_SELECTED | LVIS_FOCUSED,
              LVIS_SELECTED | LVIS_FOCUSED);
  ::SendMessageW(Grid(), LVM_ENSUREVISIBLE, row, FALSE);
}

void Win32GroupsWindow::ClearCells() {
  const std::size_t rows = RowCount(Grid());
  for (std::size_t row = 0; row < rows; ++row) SetName(Grid(), row, L"");
}

void Win32GroupsWindow::SetRowCount(std::size_t rows) {
  HWND grid = Grid();
  std::size_t count = RowCount(grid);
  while (count < rows) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(count);
    item.pszText = const_cast<wchar_t*>(L"");
    if (::SendMessageW(grid, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)) < 0) break;
    ++count;
  }
  while (count > rows) ::SendMessageW(grid, LVM_DELETEITEM, --count, 0);
  // Rows cut off below take the selection up to the new last row.
  selectedRow_ = SelectedRow();
  ShowSelection();
}

void Win32GroupsWindow::SetCell(std::size_t row, std::string_view utf8) {
  if (row < RowCount(Grid())) SetName(Grid(), row, Utf8ToWide(utf8));
}

std::size_t Win32GroupsWindow::SelectedRow() const {
  const std::size_t rows = RowCount(Grid());
  return rows == 0 ? 0 : std::min(selectedRow_, rows - 1);
}

void Win32GroupsWindow::ShowModal() {
  if (modal_) return;
  modal_ = true;
  closed_ = false;
  CenterWindow(hwnd(), centreOver_);
  {
    ModalScope scope(hwnd(), owner_);
    ::ShowWindow(hwnd(), SW_SHOW);
    ::SetForegroundWindow(hwnd());
    ::SetFocus(Grid());
    if (logic_) RunGuarded(hwnd(), [&] { logic_->FormShow(); });
    PumpUntil(
        hwnd(), [this] { return closed_; }, [this](MSG& msg) { return PreTranslateMessage(msg); });
  }
  modal_ = false;
}

void Win32GroupsWindow::Close() {
  if (modal_) closed_ = true;
}

}  // namespace qs::win32
