"""Checks of the tests' own Settings.xml writer against the format's examples."""

import os
import sys
import unittest
import xml.etree.ElementTree as ET

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from settings_xml import (Entry, Settings, base64le_decode, base64le_encode,  # noqa: E402
                          decode_field, encode_field)


class FieldScramblerTest(unittest.TestCase):
    def test_base64_pass_packs_first_byte_lowest(self):
        for plain, packed in [(b"", ""), (b"a", "hB"), (b"ab", "hJG"), (b"abc", "hJ2Y")]:
            with self.subTest(plain=plain):
                self.assertEqual(base64le_encode(plain), packed)
                self.assertEqual(base64le_decode(packed), plain)

    def test_lone_last_character_adds_no_byte(self):
        self.assertEqual(base64le_decode("hJ2YA"), b"abc")

    def test_first_byte_is_xored_with_high_byte_of_key(self):
        # 'a' (0x61) XOR 0x69 (27094 >> 8) = 0x08, which packs as "IA".
        self.assertEqual(encode_field("a"), "IA")

    def test_round_trip_and_lengths(self):
        for text, length in [("abc", 4), ("abcd", 6), ("Съешь", 7), ("", 0),
                             ("line\r\nbreak [TAB]", None)]:
            with self.subTest(text=text):
                scrambled = encode_field(text)
                if length is not None:
                    self.assertEqual(len(scrambled), length)
                self.assertEqual(decode_field(scrambled), text)

    def test_long_text_round_trips_past_the_16_bit_counter(self):
        text = "я" * 65540
        self.assertEqual(decode_field(encode_field(text)), text)


class SettingsWriterTest(unittest.TestCase):
    def test_layout_matches_the_saved_form(self):
        xml = Settings(entries=[Entry(" Привет ", "Hello\r\n"), Entry("x", "y", "Work")],
                       groups=["Work"], hot=49227, auto=True, buff=False).to_xml()
        root = ET.fromstring(xml)
        self.assertEqual([c.tag for c in root], ["Texts", "Groups", "keyword"])
        rows = [[decode_field(f.text or "") for f in t] for t in root[0]]
        self.assertEqual(rows, [["Привет", "Hello", "Без группы"],
                                ["x", "y", "Work"]])
        self.assertEqual([decode_field(g[0].text) for g in root[1]], ["Work"])
        self.assertEqual([(k.tag, k.text) for k in root[2]],
                         [("hot", "49227"), ("auto", "True"), ("buff", "False")])
        self.assertNotIn(b"<?xml", xml)


if __name__ == "__main__":
    unittest.main()
