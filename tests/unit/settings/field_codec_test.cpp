#include "settings/field_codec.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace qs {
namespace {

std::string Bytes(std::size_t n, unsigned seed) {
  std::mt19937 gen(seed);
  std::string s(n, '\0');
  for (char& c : s) c = static_cast<char>(gen() & 0xFF);
  return s;
}

TEST(Base64Le, PacksTheFirstByteIntoTheLowestBits) {
  const struct {
    std::string bytes;
    std::string text;
  } cases[] = {
      {"abc", "hJ2Y"},  // standard base64 would give "YWJj"
      {"a", "hB"},
      {"ab", "hJG"},
      {"", ""},
      {std::string("\0\0\0", 3), "AAAA"},
      {"\xFF\xFF\xFF", "////"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Base64LeEncode(c.bytes), c.text);
    EXPECT_EQ(Base64LeDecode(c.text), c.bytes);
  }
}

TEST(Base64Le, OutputLengthFollowsTheLastGroup) {
  // 3 bytes give 4 characters, 4 give 6, 5 give 7.
  const std::size_t expected[] = {0, 2, 3, 4, 6, 7, 8, 10, 11, 12};
  for (std::size_t n = 0; n < std::size(expected); ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(Base64LeEncode(std::string(n, 'x')).size(), expected[n]);
    EXPECT_EQ(EncodeField(std::string(n, 'x')).size(), expected[n]);
    EXPECT_EQ(EncodedFieldLength(n), expected[n]);
  }
}

TEST(Base64Le, DecodeIsLenient) {
  const struct {
    std::string text;
    std::string bytes;
  } cases[] = {
      {"hJ2YQ", "abc"},                            // a lone last character gives no byte
      {"Q", ""},
      {"====", std::string("\0\0\0", 3)},          // characters outside the alphabet count as 0
      {"hJ2Y \r\n", std::string("abc\0\0", 5)},    // whitespace too
      {"hJ", "a"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Base64LeDecode(c.text), c.bytes);
  }
}

TEST(FieldScrambler, KnownAnswersWithTheFieldKey) {
  // Worked by hand: K = 27094 = 0x69D6, so the first byte is XORed with 0x69;
  // then K = (27094 + 0x08) * 719 + 33125 mod 65536 = 0xD7E7.
  EXPECT_EQ(XorEncode("a", kFieldKey), "\x08");
  EXPECT_EQ(XorEncode("ab", kFieldKey), "\x08\xB5");
  EXPECT_EQ(EncodeField("a"), "IA");
  EXPECT_EQ(EncodeField("ab"), "IUL");
  EXPECT_EQ(DecodeField("IUL"), "ab");
  EXPECT_EQ(DecodeField("IULvQ"), "abc");  // a lone last character gives no byte
  EXPECT_EQ(EncodeField(""), "");
  EXPECT_EQ(DecodeField(""), "");
}

// The fused field routines against the two passes they stand for, over
// every remainder of the groups and every byte value.
TEST(FieldScrambler, FusedRoutinesAgreeWithTheTwoPasses) {
  for (std::size_t n = 0; n < 300; ++n) {
    SCOPED_TRACE(n);
    const std::string plain = Bytes(n, static_cast<unsigned>(n));
    const std::string encoded = EncodeField(plain);
    EXPECT_EQ(encoded, Base64LeEncode(XorEncode(plain, kFieldKey)));
    EXPECT_EQ(DecodeField(encoded), plain);
    EXPECT_EQ(XorDecode(XorEncode(plain, 4711), 4711), plain);
    // Any text decodes, including lengths that leave a lone character.
    const std::string text = Bytes(n, static_cast<unsigned>(n) + 1000);
    EXPECT_EQ(DecodeField(text), XorDecode(Base64LeDecode(text), kFieldKey));
  }
}

// The ways DecodeField can take on this processor (the portable one always).
std::vector<CodecPath> AvailablePaths() {
  std::vector<CodecPath> paths{CodecPath::Portable};
  if (HasCodecPath(CodecPath::Vector)) paths.push_back(CodecPath::Vector);
  return paths;
}

// A text from the alphabet, or from every byte value when `anyByte`.
std::string Text(std::size_t n, unsigned seed, bool anyByte) {
  static constexpr std::string_view kAlphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::mt19937 gen(seed);
  std::string s(n, '\0');
  for (char& c : s) {
    c = anyByte ? static_cast<char>(gen() & 0xFF) : kAlphabet[gen() % kAlphabet.size()];
  }
  return s;
}

// Every way of decoding against the two plain passes, over lengths that
// end anywhere in the blocks the vector way works in, and over the keys.
TEST(FieldScrambler, EveryDecodePathAgreesWithTheTwoPasses) {
  for (const CodecPath path : AvailablePaths()) {
    SCOPED_TRACE(static_cast<int>(path));
    for (std::size_t n = 0; n < 700; ++n) {
      SCOPED_TRACE(n);
      for (const bool anyByte : {false, true}) {
        const std::string text = Text(n, static_cast<unsigned>(n) * 2 + anyByte, anyByte);
        for (const std::uint16_t key : {kFieldKey, std::uint16_t{0}, std::uint16_t{65535}}) {
          EXPECT_EQ(DecodeFieldOn(path, text, key), XorDecode(Base64LeDecode(text), key));
        }
      }
      const std::string plain = Bytes(n, static_cast<unsigned>(n) + 500);
      EXPECT_EQ(DecodeFieldOn(path, EncodeField(plain)), plain);
    }
  }
}

// Each character value at each place of a block: the vector way sorts
// characters into the alphabet and the rest by table.
TEST(FieldScrambler, EveryCharacterDecodesAlikeOnEveryPath) {
  for (const CodecPath path : AvailablePaths()) {
    SCOPED_TRACE(static_cast<int>(path));
    for (unsigned value = 0; value < 256; ++value) {
      for (const std::size_t length : {32u, 45u, 96u}) {
        std::string text = Text(length, value, false);
        for (std::size_t at = 0; at < length; at += 7) text[at] = static_cast<char>(value);
        ASSERT_EQ(DecodeFieldOn(path, text), XorDecode(Base64LeDecode(text), kFieldKey))
            << "character " << value << ", length " << length;
      }
    }
  }
}

TEST(FieldScrambler, EveryDecodePathStopsTheXorPassAtLengthMod65536) {
  for (const CodecPath path : AvailablePaths()) {
    SCOPED_TRACE(static_cast<int>(path));
    for (const std::size_t length :
         {65535u, 65536u, 65537u, 65550u, 65567u, 70000u, 131072u + 40}) {
      SCOPED_TRACE(length);
      const std::string plain = Bytes(length, static_cast<unsigned>(length));
      const std::string encoded = EncodeField(plain);
      EXPECT_TRUE(DecodeFieldOn(path, encoded) == plain);
      const std::string text = Text(encoded.size() + 1, 3, true);
      EXPECT_TRUE(DecodeFieldOn(path, text) == XorDecode(Base64LeDecode(text), kFieldKey));
    }
  }
}

TEST(FieldScrambler, OnlyTheFirstLengthMod65536BytesAreXored) {
  const struct {
    std::size_t length;
    std::size_t xored;
  } cases[] = {{65535, 65535}, {65536, 0}, {70000, 70000 - 65536}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.length);
    const std::string plain = Bytes(c.length, 7);
    const std::string scrambled = XorEncode(plain, kFieldKey);
    ASSERT_EQ(scrambled.size(), plain.size());
    // Compared as booleans: a failure would print megabytes otherwise.
    EXPECT_TRUE(scrambled.compare(c.xored, std::string::npos, plain, c.xored) == 0);
    if (c.xored > 0) {
      EXPECT_FALSE(scrambled.compare(0, c.xored, plain, 0, c.xored) == 0);
    }
    EXPECT_TRUE(XorDecode(scrambled, kFieldKey) == plain);

    const std::string encoded = EncodeField(plain);
    EXPECT_TRUE(encoded == Base64LeEncode(scrambled));
    EXPECT_TRUE(DecodeField(encoded) == plain);
  }
}

// Fields encoded side by side in lanes must come out as each one alone,
// whatever mix of lengths makes the lanes finish and refill at odd times.
TEST(FieldScrambler, ManyFieldsAtOnceMatchOneByOne) {
  const std::size_t lengths[] = {0, 1, 2, 3, 4, 5, 300, 7, 1000, 2, 65535, 65536, 70000, 9, 0, 31, 6};
  for (std::size_t count = 0; count <= std::size(lengths); ++count) {
    SCOPED_TRACE(count);
    std::vector<std::string> texts;
    std::vector<std::string> outs;
    std::vector<FieldJob> jobs;
    for (std::size_t i = 0; i < count; ++i) {
      texts.push_back(Bytes(lengths[i], static_cast<unsigned>(i)));
      outs.emplace_back(EncodedFieldLength(lengths[i]), '?');
    }
    for (std::size_t i = 0; i < count; ++i) jobs.push_back({texts[i], outs[i].data()});
    EncodeFieldsInto(jobs);
    for (std::size_t i = 0; i < count; ++i) {
      EXPECT_TRUE(outs[i] == EncodeField(texts[i])) << "field " << i;
    }
  }
}

// Many long fields, so that every lane of the vector way fills and refills
// at odd times, mixed with short ones and ones of 64 KiB and more. The
// outputs lie in one buffer with guard bytes between them, which must stay.
TEST(FieldScrambler, EveryEncodePathMatchesOneFieldAtATime) {
  std::mt19937 gen(99);
  std::vector<std::size_t> lengths;
  for (std::size_t i = 0; i < 300; ++i) {
    const unsigned pick = gen() % 10;
    lengths.push_back(pick < 3 ? gen() % 64 : pick < 9 ? 64 + gen() % 3000 : 65530 + gen() % 80);
  }
  lengths.insert(lengths.begin() + 17, {131072 + 100, 65536, 63, 64, 65, 79, 80, 81});
  constexpr char kGuard = '\x5A';
  constexpr std::size_t kGap = 40;
  for (const CodecPath path : AvailablePaths()) {
    SCOPED_TRACE(static_cast<int>(path));
    for (const std::size_t count :
         {std::size_t{15}, std::size_t{16}, std::size_t{17}, lengths.size()}) {
      SCOPED_TRACE(count);
      std::vector<std::string> texts;
      std::vector<std::size_t> offsets;
      std::size_t size = kGap;
      for (std::size_t i = 0; i < count; ++i) {
        texts.push_back(Bytes(lengths[i], static_cast<unsigned>(i) + 7));
        offsets.push_back(size);
        size += EncodedFieldLength(lengths[i]) + kGap;
      }
      std::string buffer(size, kGuard);
      std::vector<FieldJob> jobs;
      for (std::size_t i = 0; i < count; ++i) {
        jobs.push_back({texts[i], buffer.data() + offsets[i]});
      }
      EncodeFieldsIntoOn(path, jobs);
      std::size_t guardStart = 0;
      for (std::size_t i = 0; i < count; ++i) {
        const std::string_view out(buffer.data() + offsets[i], EncodedFieldLength(lengths[i]));
        EXPECT_TRUE(out == EncodeField(texts[i]))
            << "field " << i << " of " << lengths[i] << " bytes";
        EXPECT_EQ(std::string_view(buffer).substr(guardStart, offsets[i] - guardStart),
                  std::string(offsets[i] - guardStart, kGuard));
        guardStart = offsets[i] + out.size();
      }
      EXPECT_EQ(std::string_view(buffer).substr(guardStart),
                std::string(size - guardStart, kGuard));
    }
  }
}

TEST(FieldScrambler, AppendKeepsWhatIsAlreadyThere) {
  std::string out = "<a>";
  AppendEncodedField(out, "abc");
  EXPECT_EQ(out, "<a>" + EncodeField("abc"));
}

}  // namespace
}  // namespace qs
