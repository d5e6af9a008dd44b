#include "settings/field_codec.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <vector>

// A vector path for x86-64 processors with AVX2, chosen at run time: the
// Windows build targets plain x86-64.
#if (defined(__GNUC__) || defined(__clang__)) && defined(__x86_64__)
#include <immintrin.h>
#define QS_CODEC_AVX2 1
#define QS_AVX2 __attribute__((target("avx2")))
#else
#define QS_CODEC_AVX2 0
#endif

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

namespace {

// The key chain of one field is strictly serial (each byte waits for the
// multiplication before it), so four fields are encoded side by side: the
// processor overlaps their chains, which makes a large document about twice
// as fast to write.
void EncodeFieldsPortable(std::span<const FieldJob> jobs, std::uint16_t key) {
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

}  // namespace

std::size_t EncodedFieldLength(std::size_t plainLength) { return EncodedLength(plainLength); }

std::string EncodeField(std::string_view text, std::uint16_t key) {
  std::string out;
  AppendEncodedField(out, text, key);
  return out;
}

namespace {

// Fused as well. The key update feeds back the scrambled byte, which is the
// input here, so three steps fold into one multiply-add on the running key
// and the loop is not held up by a chain of dependent multiplications.
std::string DecodePortable(std::string_view text, std::uint16_t key) {
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

#if QS_CODEC_AVX2

// The vector path decodes in two passes over the field, which stays in the
// first-level cache: base64 into the result, then the XOR pass in place.
// The result is made a block longer than needed while it is worked on, so
// that every step stores whole blocks, and then cut to its length.
constexpr std::size_t kVectorSlack = 32;
// Fields shorter than one block of characters go the portable way.
constexpr std::size_t kVectorMinimum = 32;

// Base64, 32 characters into 24 bytes (32 are stored). A character's class
// comes from two table lookups, one by its low and one by its high four
// bits, whose bit sets meet only for the alphabet; every other character
// becomes 0.
QS_AVX2 inline void Base64Block(const unsigned char* in, unsigned char* out) {
  // Classes: 0x01 '+', 0x02 '/', 0x04 '0'-'9', 0x08 'A'-'O', 0x10 'P'-'Z',
  // 0x20 'a'-'o', 0x40 'p'-'z'.
  const __m256i byLow = _mm256_setr_epi8(
      0x54, 0x7C, 0x7C, 0x7C, 0x7C, 0x7C, 0x7C, 0x7C, 0x7C, 0x7C, 0x78, 0x29, 0x28, 0x28, 0x28, 0x2A,
      0x54, 0x7C, 0x7C, 0x7C, 0x7C, 0x7C, 0x7C, 0x7C, 0x7C, 0x7C, 0x78, 0x29, 0x28, 0x28, 0x28, 0x2A);
  const __m256i byHigh = _mm256_setr_epi8(0, 0, 0x03, 0x04, 0x08, 0x10, 0x20, 0x40, 0, 0, 0, 0, 0, 0, 0, 0,
                                          0, 0, 0x03, 0x04, 0x08, 0x10, 0x20, 0x40, 0, 0, 0, 0, 0, 0, 0, 0);
  // Added to the character by its high four bits; '+' gets 3 more than '/'.
  const __m256i offset = _mm256_setr_epi8(0, 0, 16, 4, -65, -65, -71, -71, 0, 0, 0, 0, 0, 0, 0, 0,
                                          0, 0, 16, 4, -65, -65, -71, -71, 0, 0, 0, 0, 0, 0, 0, 0);
  const __m256i nibble = _mm256_set1_epi8(0x0F);
  // d0 + 64 d1, then x0 + 4096 x1: the first character in the lowest bits.
  const __m256i pairs = _mm256_set1_epi16(0x4001);
  const __m256i quads = _mm256_set1_epi32(0x10000001);
  const __m256i compact = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1,
                                           0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
  const __m256i order = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 7, 7);

  const __m256i c = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in));
  const __m256i high = _mm256_and_si256(_mm256_srli_epi16(c, 4), nibble);
  const __m256i low = _mm256_and_si256(c, nibble);
  const __m256i cls =
      _mm256_and_si256(_mm256_shuffle_epi8(byLow, low), _mm256_shuffle_epi8(byHigh, high));
  const __m256i outside = _mm256_cmpeq_epi8(cls, _mm256_setzero_si256());
  const __m256i isPlus = _mm256_cmpeq_epi8(c, _mm256_set1_epi8('+'));
  const __m256i add = _mm256_add_epi8(_mm256_shuffle_epi8(offset, high),
                                      _mm256_and_si256(isPlus, _mm256_set1_epi8(3)));
  const __m256i digits = _mm256_andnot_si256(outside, _mm256_add_epi8(c, add));
  const __m256i values = _mm256_madd_epi16(_mm256_maddubs_epi16(digits, pairs), quads);
  const __m256i bytes = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(values, compact), order);
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), bytes);
}

// Base64 of a field of at least 32 characters into `out`, which has room
// for DecodedLength(chars) + kVectorSlack bytes.
QS_AVX2 void Base64DecodeAvx2(const unsigned char* in, std::size_t chars, unsigned char* out) {
  std::size_t i = 0;
  for (; i + 32 <= chars; i += 32) Base64Block(in + i, out + i / 4 * 3);
  // The whole groups left are decoded again with the ones before them,
  // which come out the same, so that nothing is read past the field.
  const std::size_t whole = chars - chars % 4;
  if (i < whole) Base64Block(in + whole - 32, out + (whole - 32) / 4 * 3);
  const std::size_t rem = chars - whole;
  const std::uint32_t v = GroupValue(in + whole, rem);
  unsigned char* o = out + whole / 4 * 3;
  if (rem >= 2) o[0] = static_cast<unsigned char>(v);
  if (rem >= 3) o[1] = static_cast<unsigned char>(v >> 8);
}

// The XOR pass, 32 bytes at a time. Decoding feeds the input byte into the
// key, K' = 719 K + b with b = 719 c + 33125, so the keys of a block need
// not wait for each other. 719 is odd and so has an inverse N modulo 65536;
// with U_t = N^t K_t (t counted from the block's start) the recurrence
// becomes a plain sum, U_t+1 = U_t + N^(t+1) b_t = U_t + (N^t c_t +
// 33125 N^(t+1)). A block is then one multiply for those terms, a prefix
// sum, and one multiply by 719^t for the keys, on 16-bit lanes (arithmetic
// modulo 65536). The running key is the only chain from block to block.
constexpr std::uint16_t InverseModulo65536(std::uint32_t m) {
  std::uint32_t x = m;  // Newton's iteration doubles the correct low bits
  for (int i = 0; i < 5; ++i) x = (x * (2 - m * x)) & 0xFFFF;
  return static_cast<std::uint16_t>(x);
}
constexpr std::uint32_t kMulInverse = InverseModulo65536(kMul);
static_assert(((kMulInverse * kMul) & 0xFFFF) == 1);

// The 32 bytes of a block are widened in the two halves of the registers
// as the unpack instructions place them: lanes of A hold bytes 0-7 and
// 16-23, lanes of B bytes 8-15 and 24-31.
struct XorTables {
  alignas(32) std::uint16_t weightA[16];  // N^t
  alignas(32) std::uint16_t weightB[16];
  alignas(32) std::uint16_t termA[16];  // 33125 N^(t+1)
  alignas(32) std::uint16_t termB[16];
  alignas(32) std::uint16_t powerA[16];  // 719^t
  alignas(32) std::uint16_t powerB[16];
  std::uint16_t power32;  // 719^32
};

constexpr XorTables kXorTables = [] {
  std::uint32_t power[33] = {1};
  std::uint32_t inverse[34] = {1};
  for (std::size_t i = 1; i < 33; ++i) power[i] = power[i - 1] * kMul & 0xFFFF;
  for (std::size_t i = 1; i < 34; ++i) inverse[i] = inverse[i - 1] * kMulInverse & 0xFFFF;
  XorTables t{};
  for (std::size_t lane = 0; lane < 16; ++lane) {
    const std::size_t a = lane < 8 ? lane : lane + 8;
    const std::size_t b = a + 8;
    t.weightA[lane] = static_cast<std::uint16_t>(inverse[a]);
    t.weightB[lane] = static_cast<std::uint16_t>(inverse[b]);
    t.termA[lane] = static_cast<std::uint16_t>(kAdd * inverse[a + 1]);
    t.termB[lane] = static_cast<std::uint16_t>(kAdd * inverse[b + 1]);
    t.powerA[lane] = static_cast<std::uint16_t>(power[a]);
    t.powerB[lane] = static_cast<std::uint16_t>(power[b]);
  }
  t.power32 = static_cast<std::uint16_t>(power[32]);
  return t;
}();

inline short Lane(std::uint32_t v) { return static_cast<short>(static_cast<std::uint16_t>(v)); }

QS_AVX2 inline __m256i Table(const std::uint16_t* lanes) {
  return _mm256_load_si256(reinterpret_cast<const __m256i*>(lanes));
}

// Prefix sums within each half of eight lanes.
QS_AVX2 inline __m256i PrefixSums(__m256i x) {
  x = _mm256_add_epi16(x, _mm256_slli_si256(x, 2));
  x = _mm256_add_epi16(x, _mm256_slli_si256(x, 4));
  return _mm256_add_epi16(x, _mm256_slli_si256(x, 8));
}

// The last lane of each half, in every lane of that half.
QS_AVX2 inline __m256i LastOfHalf(__m256i x) {
  return _mm256_shuffle_epi8(x, _mm256_set1_epi16(0x0F0E));
}

// 32 bytes from `in` to `out`; `k` holds the running key in every lane.
QS_AVX2 inline void XorBlock(const unsigned char* in, unsigned char* out, __m256i& k) {
  const __m256i raw = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in));
  const __m256i zero = _mm256_setzero_si256();
  const __m256i termsA = _mm256_add_epi16(
      _mm256_mullo_epi16(_mm256_unpacklo_epi8(raw, zero), Table(kXorTables.weightA)),
      Table(kXorTables.termA));
  const __m256i termsB = _mm256_add_epi16(
      _mm256_mullo_epi16(_mm256_unpackhi_epi8(raw, zero), Table(kXorTables.weightB)),
      Table(kXorTables.termB));
  // Bytes 0-7, 8-15, 16-23, 24-31 in turn: each segment adds the totals of
  // those before it.
  __m256i sumsA = PrefixSums(termsA);
  __m256i sumsB = _mm256_add_epi16(PrefixSums(termsB), LastOfHalf(sumsA));
  const __m256i halves = LastOfHalf(sumsB);
  // The lower half's total, in the upper half only.
  const __m256i carry = _mm256_permute2x128_si256(halves, halves, 0x08);
  sumsA = _mm256_add_epi16(sumsA, carry);
  sumsB = _mm256_add_epi16(sumsB, carry);
  const __m256i total = _mm256_permute4x64_epi64(_mm256_add_epi16(halves, carry), 0xEE);
  // U_t = K + the terms before t; K_t = 719^t U_t.
  const __m256i keysA = _mm256_mullo_epi16(
      _mm256_add_epi16(k, _mm256_sub_epi16(sumsA, termsA)), Table(kXorTables.powerA));
  const __m256i keysB = _mm256_mullo_epi16(
      _mm256_add_epi16(k, _mm256_sub_epi16(sumsB, termsB)), Table(kXorTables.powerB));
  k = _mm256_mullo_epi16(_mm256_add_epi16(k, total), _mm256_set1_epi16(Lane(kXorTables.power32)));

  const __m256i mask =
      _mm256_packus_epi16(_mm256_srli_epi16(keysA, 8), _mm256_srli_epi16(keysB, 8));
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), _mm256_xor_si256(raw, mask));
}

// The XOR pass over data[0, n). With `spare` the data has room for a whole
// block past n, whose bytes do not matter; without it the last bytes go
// one by one.
QS_AVX2 void XorDecodeAvx2(unsigned char* data, std::size_t n, std::uint16_t key, bool spare) {
  __m256i k = _mm256_set1_epi16(Lane(key));
  std::size_t i = 0;
  for (; i + 32 <= n; i += 32) XorBlock(data + i, data + i, k);
  if (i == n) return;
  if (spare) {
    XorBlock(data + i, data + i, k);
    return;
  }
  std::uint32_t scalar = static_cast<std::uint16_t>(_mm256_cvtsi256_si32(k));
  for (; i < n; ++i) {
    const std::uint8_t c = data[i];
    data[i] = static_cast<unsigned char>(c ^ HighByte(scalar));
    scalar = Step(scalar, c);
  }
}

// Encoding feeds the scrambled byte back into the key, so one field's
// chain cannot be split; instead 16 long fields go side by side, one in each
// 16-bit lane. A step takes 16 bytes of every field, turns them so that each
// register holds one byte of every field, runs the 16 links of the chains
// and turns the result back.
constexpr std::size_t kEncodeLanes = 16;
// Fields with a shorter XOR pass go the portable way, four side by side.
constexpr std::size_t kEncodeVectorMinimum = 64;

// Rows become columns: afterwards byte i of m[j] is what byte j of m[i] was.
QS_AVX2 inline void Transpose16(__m128i m[16]) {
  // a[i], b[i]: 16-bit unit j is column j (a) or 8 + j (b) of rows 2i, 2i+1.
  __m128i a[8], b[8];
  for (int i = 0; i < 8; ++i) {
    a[i] = _mm_unpacklo_epi8(m[2 * i], m[2 * i + 1]);
    b[i] = _mm_unpackhi_epi8(m[2 * i], m[2 * i + 1]);
  }
  // c[g][k]: 32-bit unit j is column 4g + j of rows 4k to 4k + 3.
  __m128i c[4][4];
  for (int k = 0; k < 4; ++k) {
    c[0][k] = _mm_unpacklo_epi16(a[2 * k], a[2 * k + 1]);
    c[1][k] = _mm_unpackhi_epi16(a[2 * k], a[2 * k + 1]);
    c[2][k] = _mm_unpacklo_epi16(b[2 * k], b[2 * k + 1]);
    c[3][k] = _mm_unpackhi_epi16(b[2 * k], b[2 * k + 1]);
  }
  // d[p][l]: 64-bit unit j is column 2p + j of rows 8l to 8l + 7.
  __m128i d[8][2];
  for (int g = 0; g < 4; ++g) {
    for (int l = 0; l < 2; ++l) {
      d[2 * g][l] = _mm_unpacklo_epi32(c[g][2 * l], c[g][2 * l + 1]);
      d[2 * g + 1][l] = _mm_unpackhi_epi32(c[g][2 * l], c[g][2 * l + 1]);
    }
  }
  for (int p = 0; p < 8; ++p) {
    m[2 * p] = _mm_unpacklo_epi64(d[p][0], d[p][1]);
    m[2 * p + 1] = _mm_unpackhi_epi64(d[p][0], d[p][1]);
  }
}

// The XOR pass of `blocks` blocks of 16 bytes in every lane, from src[i]
// to dst[i] (both advanced); `k` holds lane i's key in its lane i.
QS_AVX2 void EncodeLanes(const unsigned char* src[kEncodeLanes], unsigned char* dst[kEncodeLanes],
                         std::size_t blocks, __m256i& k) {
  const __m256i mul = _mm256_set1_epi16(Lane(kMul));
  const __m256i add = _mm256_set1_epi16(Lane(kAdd));
  __m256i key = k;
  for (std::size_t b = 0; b < blocks; ++b) {
    __m128i m[16];
    for (std::size_t i = 0; i < kEncodeLanes; ++i) {
      m[i] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src[i] + 16 * b));
    }
    Transpose16(m);
    for (__m128i& column : m) {
      const __m256i plain = _mm256_cvtepu8_epi16(column);
      const __m256i scrambled = _mm256_xor_si256(plain, _mm256_srli_epi16(key, 8));
      key = _mm256_add_epi16(_mm256_mullo_epi16(_mm256_add_epi16(key, scrambled), mul), add);
      column = _mm_packus_epi16(_mm256_castsi256_si128(scrambled),
                                _mm256_extracti128_si256(scrambled, 1));
    }
    Transpose16(m);
    for (std::size_t i = 0; i < kEncodeLanes; ++i) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(dst[i] + 16 * b), m[i]);
    }
  }
  for (std::size_t i = 0; i < kEncodeLanes; ++i) {
    src[i] += 16 * blocks;
    dst[i] += 16 * blocks;
  }
  k = key;
}

// Base64 of the n scrambled bytes that stand at the end of the field's
// output, out[EncodedLength(n) - n ...], written from the start of it. Each
// step reads its bytes before it writes characters, and the characters
// never catch up with bytes still to be read: the output is a third longer.
QS_AVX2 void Base64EncodeInPlace(char* out, std::size_t n) {
  const std::size_t from = EncodedLength(n) - n;
  const auto* in = reinterpret_cast<const unsigned char*>(out) + from;
  // Three bytes to each 32-bit lane, then its four 6-bit digits to bytes.
  const __m256i spread = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1,
                                          0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
  const __m256i shifts = _mm256_set1_epi32(0x00400004);  // x4 low half, x64 high half
  // Digit to character: 'A' + d below 26, 'a' - 26 + d, '0' - 52 + d, '+', '/'.
  const __m256i offsets = _mm256_setr_epi8(71, -4, -4, -4, -4, -4, -4, -4, -4, -4, -4, -19, -16, 65, 0, 0,
                                           71, -4, -4, -4, -4, -4, -4, -4, -4, -4, -4, -19, -16, 65, 0, 0);
  std::size_t g = 0;  // groups of three bytes done
  // 24 bytes (28 read) to 32 characters; stops while the rule above holds.
  for (; 3 * g + 28 <= n && g + 8 <= from; g += 8) {
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 3 * g));
    const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 3 * g + 12));
    const __m256i v = _mm256_shuffle_epi8(
        _mm256_inserti128_si256(_mm256_castsi128_si256(low), high, 1), spread);
    const __m256i digits = _mm256_or_si256(
        _mm256_or_si256(_mm256_and_si256(v, _mm256_set1_epi32(0x0000003F)),
                        _mm256_and_si256(_mm256_slli_epi32(v, 4), _mm256_set1_epi32(0x003F0000))),
        _mm256_and_si256(_mm256_mullo_epi16(v, shifts), _mm256_set1_epi32(0x3F003F00)));
    __m256i index = _mm256_subs_epu8(digits, _mm256_set1_epi8(51));
    const __m256i letters = _mm256_cmpgt_epi8(_mm256_set1_epi8(26), digits);
    index = _mm256_or_si256(index, _mm256_and_si256(letters, _mm256_set1_epi8(13)));
    const __m256i chars = _mm256_add_epi8(digits, _mm256_shuffle_epi8(offsets, index));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 4 * g), chars);
  }
  char* o = out + 4 * g;
  for (; 3 * g + 3 <= n; ++g) {
    const unsigned char* p = in + 3 * g;
    o = EmitGroup(o, p[0] | (p[1] << 8) | (p[2] << 16), 4);
  }
  if (const std::size_t rem = n - 3 * g; rem == 1) {
    EmitGroup(o, in[3 * g], 2);
  } else if (rem == 2) {
    EmitGroup(o, in[3 * g] | (in[3 * g + 1] << 8), 3);
  }
}

// One field's XOR pass from byte `from` (the lane's key there), the bytes
// past it copied, then base64 in place.
void FinishEncoding(const FieldJob& job, std::size_t from, std::uint32_t k) {
  const std::size_t n = job.text.size();
  const std::size_t xored = XoredLength(n);
  const auto* in = reinterpret_cast<const unsigned char*>(job.text.data());
  auto* staged = reinterpret_cast<unsigned char*>(job.out) + (EncodedLength(n) - n);
  for (std::size_t i = from; i < xored; ++i) {
    const std::uint8_t c = in[i] ^ HighByte(k);
    staged[i] = c;
    k = Step(k, c);
  }
  if (xored < n) std::memcpy(staged + xored, in + xored, n - xored);
  Base64EncodeInPlace(job.out, n);
}

QS_AVX2 void EncodeFieldsVector(std::span<const FieldJob> jobs, std::uint16_t key) {
  std::vector<FieldJob> portable;
  std::size_t next = 0;
  // The next field long enough for the lanes; the others are set aside.
  const auto nextLong = [&]() -> bool {
    for (; next < jobs.size(); ++next) {
      if (XoredLength(jobs[next].text.size()) >= kEncodeVectorMinimum) return true;
      portable.push_back(jobs[next]);
    }
    return false;
  };

  std::size_t job[kEncodeLanes];
  const unsigned char* src[kEncodeLanes];
  unsigned char* dst[kEncodeLanes];
  std::size_t left[kEncodeLanes];  // bytes of the XOR pass still to go
  alignas(32) std::uint16_t keys[kEncodeLanes];
  const auto load = [&](std::size_t lane) {
    const FieldJob& j = jobs[next];
    const std::size_t n = j.text.size();
    job[lane] = next++;
    src[lane] = reinterpret_cast<const unsigned char*>(j.text.data());
    dst[lane] = reinterpret_cast<unsigned char*>(j.out) + (EncodedLength(n) - n);
    left[lane] = XoredLength(n);
    keys[lane] = key;
  };
  const auto finish = [&](std::size_t lane) {
    const FieldJob& j = jobs[job[lane]];
    FinishEncoding(j, XoredLength(j.text.size()) - left[lane], keys[lane]);
  };

  std::size_t filled = 0;
  while (filled < kEncodeLanes && nextLong()) load(filled++);
  if (filled == kEncodeLanes) {
    while (true) {
      std::size_t blocks = left[0] / 16;
      for (std::size_t lane = 1; lane < kEncodeLanes; ++lane) {
        blocks = std::min(blocks, left[lane] / 16);
      }
      __m256i k = _mm256_load_si256(reinterpret_cast<const __m256i*>(keys));
      EncodeLanes(src, dst, blocks, k);
      _mm256_store_si256(reinterpret_cast<__m256i*>(keys), k);
      bool exhausted = false;
      for (std::size_t lane = 0; lane < kEncodeLanes; ++lane) {
        left[lane] -= 16 * blocks;
        if (left[lane] >= 16 || exhausted) continue;
        finish(lane);
        if (nextLong()) {
          load(lane);
        } else {
          left[lane] = 0;
          job[lane] = jobs.size();  // done
          exhausted = true;
        }
      }
      if (exhausted) {
        for (std::size_t lane = 0; lane < kEncodeLanes; ++lane) {
          if (job[lane] != jobs.size()) finish(lane);
        }
        break;
      }
    }
  } else {
    for (std::size_t lane = 0; lane < filled; ++lane) finish(lane);
  }
  while (next < jobs.size()) portable.push_back(jobs[next++]);
  EncodeFieldsPortable(portable, key);
}

std::string DecodeVector(std::string_view text, std::uint16_t key) {
  if (text.size() < kVectorMinimum) return DecodePortable(text, key);
  const std::size_t length = DecodedLength(text.size());
  const std::size_t xored = XoredLength(length);
  std::string out(length + kVectorSlack, '\0');
  auto* o = reinterpret_cast<unsigned char*>(out.data());
  Base64DecodeAvx2(reinterpret_cast<const unsigned char*>(text.data()), text.size(), o);
  // Past the XOR pass's end come either the slack or, in a field of 64 KiB
  // and more, bytes that it must leave alone.
  XorDecodeAvx2(o, xored, key, xored == length);
  out.resize(length);
  return out;
}

bool HasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}

#endif  // QS_CODEC_AVX2

}  // namespace

bool HasCodecPath(CodecPath path) {
#if QS_CODEC_AVX2
  if (path == CodecPath::Vector) return HasAvx2();
#endif
  return path == CodecPath::Portable;
}

std::string DecodeFieldOn(CodecPath path, std::string_view text, std::uint16_t key) {
#if QS_CODEC_AVX2
  if (path == CodecPath::Vector && HasAvx2()) return DecodeVector(text, key);
#endif
  (void)path;
  return DecodePortable(text, key);
}

std::string DecodeField(std::string_view text, std::uint16_t key) {
#if QS_CODEC_AVX2
  if (HasAvx2()) return DecodeVector(text, key);
#endif
  return DecodePortable(text, key);
}

void EncodeFieldsIntoOn(CodecPath path, std::span<const FieldJob> jobs, std::uint16_t key) {
#if QS_CODEC_AVX2
  if (path == CodecPath::Vector && HasAvx2()) return EncodeFieldsVector(jobs, key);
#endif
  (void)path;
  EncodeFieldsPortable(jobs, key);
}

void EncodeFieldsInto(std::span<const FieldJob> jobs, std::uint16_t key) {
#if QS_CODEC_AVX2
  if (HasAvx2()) return EncodeFieldsVector(jobs, key);
#endif
  EncodeFieldsPortable(jobs, key);
}

}  // namespace qs
