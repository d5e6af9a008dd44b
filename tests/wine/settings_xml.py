"""Settings.xml for the end-to-end tests: the field scrambler and a writer
that lays the file out as the program's own Save does.

Texts are Python strings here and Windows-1251 bytes in the file, as in the
program.
"""

from dataclasses import dataclass, field

FIELD_KEY = 27094
ALPHABET = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"
DEFAULT_GROUP = "Без группы"


def _xor(data: bytes, key: int, decode: bool) -> bytes:
    # Only the first (length mod 65536) bytes are scrambled: the position
    # counter is 16 bits wide. Both directions feed the scrambled byte back.
    k = key & 0xFFFF
    n = len(data) % 65536
    out = bytearray(data)
    for i in range(n):
        b = data[i] ^ (k >> 8)
        scrambled = data[i] if decode else b
        out[i] = b
        k = ((k + scrambled) * 719 + 33125) & 0xFFFF
    return bytes(out)


def base64le_encode(data: bytes) -> str:
    """Base64 with the first byte in the lowest bits and no padding."""
    chars = []
    for start in range(0, len(data), 3):
        group = data[start:start + 3]
        v = int.from_bytes(group.ljust(3, b"\0"), "little")
        chars.extend(ALPHABET[(v >> shift) & 63] for shift in (0, 6, 12, 18)[:len(group) + 1])
    return "".join(chars)


def base64le_decode(text: str) -> bytes:
    out = bytearray()
    for start in range(0, len(text), 4):
        group = text[start:start + 4]
        v = sum(max(ALPHABET.find(c), 0) << (6 * i) for i, c in enumerate(group))
        out += v.to_bytes(3, "little")[:len(group) - 1]
    return bytes(out)


def encode_field(text: str) -> str:
    return base64le_encode(_xor(text.encode("cp1251"), FIELD_KEY, decode=False))


def decode_field(text: str) -> str:
    return _xor(base64le_decode(text), FIELD_KEY, decode=True).decode("cp1251")


def trim(text: str) -> str:
    start, end = 0, len(text)
    while start < end and ord(text[start]) <= 32:
        start += 1
    while end > start and ord(text[end - 1]) <= 32:
        end -= 1
    return text[start:end]


@dataclass
class Entry:
    shorttext: str
    longtext: str
    group: str = DEFAULT_GROUP


@dataclass
class Settings:
    entries: list = field(default_factory=list)
    groups: list = field(default_factory=list)  # the user's groups, without "Без группы"
    hot: int = 0xC04B  # Ctrl+Alt+K
    auto: bool = False
    buff: bool = False

    def to_xml(self) -> bytes:
        def element(name, value=""):
            return f"<{name}>{value}</{name}>" if value else f"<{name}/>"

        texts = "".join(
            "<text>" + element("shorttext", encode_field(trim(e.shorttext)))
            + element("longtext", encode_field(trim(e.longtext)))
            + element("group", encode_field(trim(e.group))) + "</text>"
            for e in self.entries)
        groups = "".join("<group>" + element("namegroup", encode_field(trim(g))) + "</group>"
                         for g in self.groups)
        keyword = (element("hot", str(self.hot)) + element("auto", str(self.auto))
                   + element("buff", str(self.buff)))
        return (f"<Config><Texts>{texts}</Texts><Groups>{groups}</Groups>"
                f"<keyword>{keyword}</keyword></Config>").encode("ascii")
