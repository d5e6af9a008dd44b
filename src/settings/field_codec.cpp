#include "settings/field_codec.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace qs {

namespace {

constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Characters outside the alphabet ('=', whitespace, anything) count as 0.
constexpr std::array<std::uint8_t, 256> kDigitOf = [] {
  std::array<std::uint8_t, 256> table{};
  for (std::size_t i = 0; i < kAlphabet.size(); ++i) {
    table[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::uint8_t>(i);
  }
  return table;
}();

constexpr std::uint32_t kMul = 719;
constexpr std::uint32_t kAdd = 33125;

// The running key is kept in 32 bits and only its low 16 bits are read:
// arithmetic modulo 2^32 agrees with arithmetic modulo 2^16 on those bits,
// so no masking is needed inside the loops.
inline std::uint8_t HighByte(std::uint32_t k) { return static_cast<std::uint8_t>(k >> 8); }
inline std::uint32_t Step(std::uint32_t k, std::uint8_t scrambled) {
  return (k + scrambled) * kMul + kAdd;
}

// The position counter of the XOR pass is 16 bits wide, so only the first
// L mod 65536 bytes pass through it; the rest are copied unchanged.
inline std::size_t XoredLength(std::size_t length) { return length & 0xFFFF; }

inline std::size_t EncodedLength(std::size_t n) {
  const std::size_t rem = n % 3;
  return n / 3 * 4 + (rem == 0 ? 0 : rem + 1);
}

inline std::size_t DecodedLength(std::size_t n) {
  const std::size_t rem = n % 4;
  return n / 4 * 3 + (rem <= 1 ? 0 : rem - 1);
}

// Writes the four (or, for a short last group, two or three) characters of
// one group; the first byte lands in the lowest bits.
inline char* EmitGroup(char* out, std::uint32_t v, std::size_t chars) {
  out[0] = kAlphabet[v & 63];
  out[1] = kAlphabet[(v >> 6) & 63];
  if (chars > 2) out[2] = kAlphabet[(v >> 12) & 63];
  if (chars > 3) out[3] = kAlphabet[(v >> 18) & 63];
  return out + chars;
}

inline std::uint32_t GroupValue(const unsigned char* in, std::size_t chars) {
  std::uint32_t v = 0;
  for (std::size_t k = 0; k < chars; ++k) v |= std::uint32_t{kDigitOf[in[k]]} << (6 * k);
  return v;
}

}  // namespace

std::string XorEncode(std::string_view plain, std::uint16_t key) {
  std::string out(plain);
  std::uint32_t k = key;
  const std::size_t n = XoredLength(out.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto c = static_cast<std::uint8_t>(static_cast<std::uint8_t>(out[i]) ^ HighByte(k));
    out[i] = static_cast<char>(c);
    k = Step(k, c);
  }
  return out;
}

std::string XorDecode(std::string_view scrambled, std::uint16_t key) {
  std::string out(scrambled);
  std::uint32_t k = key;
  const std::size_t n = XoredLength(out.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto c = static_cast<std::uint8_t>(out[i]);
    out[i] = static_cast<char>(c ^ HighByte(k));
    k = Step(k, c);
  }
  return out;
}

std::string Base64LeEncode(std::string_view bytes) {
  std::string out(EncodedLength(bytes.size()), '\0');
  const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
  char* o = out.data();
  std::size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    o = EmitGroup(o, in[i] | (in[i + 1] << 8) | (in[i + 2] << 16), 4);
  }
  if (const std::size_t rem = bytes.size() - i; rem == 1) {
    EmitGroup(o, in[i], 2);
  } else if (rem == 2) {
    EmitGroup(o, in[i] | (in[i + 1] << 8), 3);
  }
  return out;
}

std::string Base64LeDecode(std::string_view text) {
  std::string out(DecodedLength(text.size()), '\0');
  const auto* in = reinterpret_cast<const unsigned char*>(text.data());
  char* o = out.data();
  std::size_t i = 0;
  for (; i + 4 <= text.size(); i += 4) {
    const std::uint32_t v = GroupValue(in + i, 4);
    *o++ = static_cast<char>(v);
    *o++ = static_cast<char>(v >> 8);
    *o++ = static_cast<char>(v >> 16);
  }
  // A lone last character carries only six bits: no byte.
  const std::size_t rem = text.size() - i;
  const std::uint32_t v = GroupValue(in + i, rem);
  if (rem >= 2) *o++ = static_cast<char>(v);
  if (rem >= 3) *o++ = static_cast<char>(v >> 8);
  return out;
}

namespace {

// One group of three bytes of the XOR pass, fused with its base64 output.
inline void EncodeGroup(const unsigned char*& in, std::uint32_t& k, char*& out) {
  const std::uint8_t c0 = in[0] ^ HighByte(k);
  k = Step(k, c0);
  const std::uint8_t c1 = in[1] ^ HighByte(k);
  k = Step(k, c1);
  const std::uint8_t c2 = in[2] ^ HighByte(k);
  k = Step(k, c2);
  out = EmitGroup(out, c0 | (c1 << 8) | (c2 << 16), 4);
  in += 3;
}

// Both passes fused: encodes text[from..] (from a multiple of 3, k the
// running key at that point) straight into `out`.
void EncodeFrom(std::string_view text, std::size_t from, std::uint32_t k, char* out) {
  const std::size_t length = text.size();
  const std::size_t xored = XoredLength(length);
  const auto* in = reinterpret_cast<const unsigned char*>(text.data());
  std::size_t i = from;
  for (const unsigned char* p = in + i; i + 3 <= xored; i += 3) EncodeGroup(p, k, out);
  // The group that straddles the end of the XOR pass, the bytes after it
  // (fields of 64 KiB and more) and the short last group.
  const auto next = [&](std::size_t j) -> std::uint32_t {
    std::uint8_t c = in[j];
    if (j < xored) {
      c ^= HighByte(k);
      k = Step(k, c);
    }
    return c;
  };
  for (; i + 3 <= length; i += 3) {
    const std::uint32_t c0 = next(i);
    const std::uint32_t c1 = next(i + 1);
    const std::uint32_t c2 = next(i + 2);
    out = EmitGroup(out, c0 | (c1 << 8) | (c2 << 16), 4);
  }
  if (const std::size_t rem = length - i; rem == 1) {
    EmitGroup(out, next(i), 2);
  } else if (rem == 2) {
    const std::uint32_t c0 = next(i);
    const std::uint32_t c1 = next(i + 1);
    EmitGroup(out, c0 | (c1 << 8), 3);
  }
}

}  // namespace

void AppendEncodedField(std::string& out, std::string_view text, std::uint16_t key) {
  const std::size_t start = out.size();
  out.resize(start + EncodedLength(text.size()));
  EncodeFrom(text, 0, key, out.data() + start);
}

// The key chain of one field is strictly serial (each byte waits for the
// multiplication before it), so four fields are encoded side by side: the
// processor overlaps their chains, which makes a large document about twice
// as fast to write.
void EncodeFieldsInto(std::span<const FieldJob> jobs, std::uint16_t key) {
  struct Lane {
    std::size_t job = 0;
    const unsigned char* in = nullptr;
    std::size_t groups = 0;  // full groups left inside the XOR pass
    std::uint32_t k = 0;
    char* out = nullptr;
  };
  constexpr std::size_t kLanes = 4;
  std::size_t next = 0;
  const auto load = [&](Lane& lane) {
    const FieldJob& job = jobs[next];
    lane = {next++, reinterpret_cast<const unsigned char*>(job.text.data()),
            XoredLength(job.text.size()) / 3, key, job.out};
  };
  // The rest of a lane's field, from where the lanes left it.
  const auto finish = [&](const Lane& lane) {
    const FieldJob& job = jobs[lane.job];
    const auto done = static_cast<std::size_t>(
        lane.in - reinterpret_cast<const unsigned char*>(job.text.data()));
    EncodeFrom(job.text, done, lane.k, lane.out);
  };

  if (jobs.size() >= kLanes) {
    Lane lanes[kLanes];
    for (Lane& lane : lanes) load(lane);
    while (true) {
      std::size_t steps = lanes[0].groups;
      for (const Lane& lane : lanes) steps = std::min(steps, lane.groups);
      // Locals, so that the four chains stay in registers.
      const unsigned char *in0 = lanes[0].in, *in1 = lanes[1].in, *in2 = lanes[2].in,
                          *in3 = lanes[3].in;
      std::uint32_t k0 = lanes[0].k, k1 = lanes[1].k, k2 = lanes[2].k, k3 = lanes[3].k;
      char *o0 = lanes[0].out, *o1 = lanes[1].out, *o2 = lanes[2].out, *o3 = lanes[3].out;
      for (std::size_t s = 0; s < steps; ++s) {
        EncodeGroup(in0, k0, o0);
        EncodeGroup(in1, k1, o1);
        EncodeGroup(in2, k2, o2);
        EncodeGroup(in3, k3, o3);
      }
      lanes[0] = {lanes[0].job, in0, lanes[0].groups - steps, k0, o0};
      lanes[1] = {lanes[1].job, in1, lanes[1].groups - steps, k1, o1};
      lanes[2] = {lanes[2].job, in2, lanes[2].groups - steps, k2, o2};
      lanes[3] = {lanes[3].job, in3, lanes[3].groups - steps, k3, o3};

      bool exhausted = false;
      for (Lane& lane : lanes) {
        if (lane.groups != 0 || exhausted) continue;
        finish(lane);
        if (next < jobs.size()) {
          load(lane);
        } else {
          lane.groups = 0;
          lane.out = nullptr;  // done
          exhausted = true;
        }
      }
      if (exhausted) {
        for (const Lane& lane : lanes) {
          if (lane.out != nullptr) finish(lane);
        }
        return;
      }
    }
  }
  for (; next < jobs.size(); ++next) EncodeFrom(jobs[next].text, 0, key, jobs[next].out);
}

std::size_t EncodedFieldLength(std::size_t plainLength) { return EncodedLength(plainLength); }

std::string EncodeField(std::string_view text, std::uint16_t key) {
  std::string out;
  AppendEncodedField(out, text, key);
  return out;
}

// Fused as well. The key update feeds back the scrambled byte, which is the
// input here, so three steps fold into one multiply-add on the running key
// and the loop is not held up by a chain of dependent multiplications.
std::string DecodeField(std::string_view text, std::uint16_t key) {
  const std::size_t length = DecodedLength(text.size());
  const std::size_t xored = XoredLength(length);
  const auto* in = reinterpret_cast<const unsigned char*>(text.data());
  std::string out(length, '\0');
  char* o = out.data();
  std::uint32_t k = key;

  constexpr std::uint32_t kMul2 = kMul * kMul;
  constexpr std::uint32_t kMul3 = kMul2 * kMul;
  constexpr std::uint32_t kAdd3 = kAdd * (kMul2 + kMul + 1);
  std::size_t i = 0;  // input characters
  std::size_t pos = 0;  // output bytes
  for (; pos + 3 <= xored; i += 4, pos += 3) {
    const std::uint32_t v = GroupValue(in + i, 4);
    const std::uint32_t c0 = v & 0xFF;
    const std::uint32_t c1 = (v >> 8) & 0xFF;
    const std::uint32_t c2 = (v >> 16) & 0xFF;
    const std::uint32_t k1 = Step(k, static_cast<std::uint8_t>(c0));
    const std::uint32_t k2 = Step(k1, static_cast<std::uint8_t>(c1));
    o[0] = static_cast<char>(c0 ^ HighByte(k));
    o[1] = static_cast<char>(c1 ^ HighByte(k1));
    o[2] = static_cast<char>(c2 ^ HighByte(k2));
    o += 3;
    k = k * kMul3 + c0 * kMul3 + c1 * kMul2 + c2 * kMul + kAdd3;
  }
  const auto put = [&](std::uint32_t c) {
    if (pos < xored) {
      *o++ = static_cast<char>(c ^ HighByte(k));
      k = Step(k, static_cast<std::uint8_t>(c));
    } else {
      *o++ = static_cast<char>(c);
    }
    ++pos;
  };
  for (; i + 4 <= text.size(); i += 4) {
    const std::uint32_t v = GroupValue(in + i, 4);
    put(v & 0xFF);
    put((v >> 8) & 0xFF);
    put((v >> 16) & 0xFF);
  }
  const std::size_t rem = text.size() - i;
  const std::uint32_t v = GroupValue(in + i, rem);
  if (rem >= 2) put(v & 0xFF);
  if (rem >= 3) put((v >> 8) & 0xFF);
  return out;
}

}  // namespace qs
