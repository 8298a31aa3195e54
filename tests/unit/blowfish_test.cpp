#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gateway/HBlowFish.h"

namespace {

std::string Unhex(const std::string& hex) {
  std::string out;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return out;
}

std::string Hex(const std::string& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

// A cipher keyed with raw bytes (the published vectors use 1..24 byte keys).
TBlowFish WithKeyBytes(const std::string& key) {
  TBlowFish bf("placeholder key");
  bf.SetKeyBytes(reinterpret_cast<const uint8_t*>(key.data()), key.size());
  return bf;
}

std::string EncryptBlockHex(const TBlowFish& bf, const std::string& plainHex) {
  std::string block = Unhex(plainHex);
  bf.EncryptBlock(reinterpret_cast<uint8_t*>(block.data()));
  return Hex(block);
}

struct Vector {
  const char* key;
  const char* plain;
  const char* cipher;
};

// Eric Young's ECB test set.
const Vector kEcbVectors[] = {
    {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
    {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
    {"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
    {"1111111111111111", "1111111111111111", "2466DD878B963C9D"},
    {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
    {"1111111111111111", "0123456789ABCDEF", "7D0CC630AFDA1EC7"},
    {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
    {"7CA110454A1A6E57", "01A1D6D039776742", "59C68245EB05282B"},
    {"0131D9619DC1376E", "5CD54CA83DEF57DA", "B1B8CC0B250F09A0"},
    {"07A1133E4A0B2686", "0248D43806F67172", "1730E5778BEA1DA4"},
    {"3849674C2602319E", "51454B582DDF440A", "A25E7856CF2651EB"},
    {"04B915BA43FEB5B6", "42FD443059577FA2", "353882B109CE8F1A"},
    {"0113B970FD34F2CE", "059B5E0851CF143A", "48F4D0884C379918"},
    {"0170F175468FB5E6", "0756D8E0774761D2", "432193B78951FC98"},
    {"43297FAD38E373FE", "762514B829BF486A", "13F04154D69D1AE5"},
    {"07A7137045DA2A16", "3BDD119049372802", "2EEDDA93FFD39C79"},
    {"04689104C2FD3B2F", "26955F6835AF609A", "D887E0393C2DA6E3"},
    {"37D06BB516CB7546", "164D5E404F275232", "5F99D04F5B163969"},
    {"1F08260D1AC2465E", "6B056E18759F5CCA", "4A057A3B24D3977B"},
    {"584023641ABA6176", "004BD6EF09176062", "452031C1E4FADA8E"},
    {"025816164629B007", "480D39006EE762F2", "7555AE39F59B87BD"},
    {"49793EBC79B3258F", "437540C8698F3CFA", "53C55F9CB49FC019"},
    {"4FB05E1515AB73A7", "072D43A077075292", "7A8E7BFA937E89A3"},
    {"49E95D6D4CA229BF", "02FE55778117F12A", "CF9C5D7A4986ADB5"},
    {"018310DC409B26D6", "1D9D5C5018F728C2", "D1ABB290658BC778"},
    {"1C587F1C13924FEF", "305532286D6F295A", "55CB3774D13EF201"},
    {"0101010101010101", "0123456789ABCDEF", "FA34EC4847B268B2"},
    {"1F1F1F1F0E0E0E0E", "0123456789ABCDEF", "A790795108EA3CAE"},
    {"E0FEE0FEF1FEF1FE", "0123456789ABCDEF", "C39E072D9FAC631D"},
    {"0000000000000000", "FFFFFFFFFFFFFFFF", "014933E0CDAFF6E4"},
    {"FFFFFFFFFFFFFFFF", "0000000000000000", "F21E9A77B71C49BC"},
    {"0123456789ABCDEF", "0000000000000000", "245946885754369A"},
    {"FEDCBA9876543210", "FFFFFFFFFFFFFFFF", "6B5C5A9C5D9E0A5A"},
};

TEST(BlowFishBlock, PublishedEcbVectorsEncryptAndDecrypt) {
  for (const Vector& v : kEcbVectors) {
    SCOPED_TRACE(v.key);
    TBlowFish bf = WithKeyBytes(Unhex(v.key));
    EXPECT_EQ(EncryptBlockHex(bf, v.plain), v.cipher);
    std::string block = Unhex(v.cipher);
    bf.DecryptBlock(reinterpret_cast<uint8_t*>(block.data()));
    EXPECT_EQ(Hex(block), v.plain);
  }
}

TEST(BlowFishBlock, PublishedVariableKeyLengthVectors) {
  // Key prefixes of 1..24 bytes of F0E1D2C3B4A5968778695A4B3C2D1E0F0011223344556677,
  // plain text FEDCBA9876543210.
  const char* expected[] = {
      "F9AD597C49DB005E", "E91D21C1D961A6D6", "E9C2B70A1BC65CF3", "BE1E639408640F05", "B39E44481BDB1E6E",
      "9457AA83B1928C0D", "8BB77032F960629D", "E87A244E2CC85E82", "15750E7A4F4EC577", "122BA70B3AB64AE0",
      "3A833C9AFFC537F6", "9409DA87A90F6BF2", "884F80625060B8B4", "1F85031C19E11968", "79D9373A714CA34F",
      "93142887EE3BE15C", "03429E838CE2D14B", "A4299E27469FF67B", "AFD5AED1C1BC96A8", "10851C0E3858DA9F",
      "E6F51ED79B9DB21F", "64A6E14AFD36B46F", "80C7D7D45A5479AD", "05044B62FA52D080"};
  const std::string key = Unhex("F0E1D2C3B4A5968778695A4B3C2D1E0F0011223344556677");
  for (size_t len = 1; len <= 24; ++len) {
    SCOPED_TRACE(len);
    EXPECT_EQ(EncryptBlockHex(WithKeyBytes(key.substr(0, len)), "FEDCBA9876543210"), expected[len - 1]);
  }
}

TEST(BlowFishBlock, HalvesAreBigEndianWords) {
  TBlowFish bf = WithKeyBytes(Unhex("0123456789ABCDEF"));
  uint32_t l = 0x11111111, r = 0x11111111;
  bf.EncryptBlock(l, r);
  EXPECT_EQ(l, 0x61F9C380u);
  EXPECT_EQ(r, 0x2281B096u);
}

TEST(BlowFishKey, LengthMustBeEightToSixtyFiveCharacters) {
  EXPECT_NO_THROW(TBlowFish{"12345678"});
  EXPECT_NO_THROW(TBlowFish{std::string(65, 'k')});
  EXPECT_NO_THROW(TBlowFish{DefaultEncryptionKey});
  EXPECT_EQ(std::string(DefaultEncryptionKey).size(), 32u);
  for (const std::string& bad : {std::string("1234567"), std::string(66, 'k'), std::string()}) {
    try {
      TBlowFish bf(bad);
      ADD_FAILURE() << "accepted a key of " << bad.size();
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message, "Blowfish keylength out of range");
    }
  }
}

TEST(BlowFishCfb, MatchesPublishedCfb64VectorOverWholeAndPartialBlocks) {
  // 29 bytes: three whole blocks and a final piece of five.
  const std::string key = Unhex("0123456789ABCDEFF0E1D2C3B4A59687");
  const std::string iv = Unhex("FEDCBA9876543210");
  const std::string plain = Unhex("37363534333231204E6F77206973207468652074696D6520666F722000");
  const std::string cipher = "E73214A2822139CAF26ECF6D2EB9E76E3DA3DE04D1517200519D57A6C3";
  TBlowFish bf(key);
  EXPECT_EQ(Hex(bf.Encrypt(plain, iv)), cipher);
  EXPECT_EQ(bf.Decrypt(Unhex(cipher), iv), plain);
  // Every prefix: the output of a shorter text is the prefix of the longer one.
  for (size_t n = 0; n <= plain.size(); ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(Hex(bf.Encrypt(plain.substr(0, n), iv)), cipher.substr(0, 2 * n));
    EXPECT_EQ(bf.Decrypt(bf.Encrypt(plain.substr(0, n), iv), iv), plain.substr(0, n));
  }
}

TEST(BlowFishCfb, PartialBlockDependsOnTheRegisterAfterTheFirstBlock) {
  TBlowFish bf(DefaultEncryptionKey);
  const std::string a = bf.Encrypt("ABCDEFGHxyz");
  ASSERT_EQ(a.size(), 11u);
  // Changing one byte of the first block changes the cipher text of the
  // final three bytes, which are keyed by the first block's cipher text.
  const std::string b = bf.Encrypt("ABCDEFGXxyz");
  EXPECT_EQ(a.substr(0, 7), b.substr(0, 7));
  EXPECT_NE(a.substr(8), b.substr(8));
  // The final piece alone, with the first block's cipher text as register,
  // gives the same three bytes.
  EXPECT_EQ(bf.Encrypt("xyz", a.substr(0, 8)), a.substr(8));
}

TEST(BlowFishCfb, RegisterDefaultsAndIsCutOrPaddedToEightCharacters) {
  TBlowFish bf(DefaultEncryptionKey);
  const std::string text = "name=value with some length";
  EXPECT_EQ(std::string(TBlowFish::DefaultRegister).size(), 8u);
  EXPECT_EQ(bf.Encrypt(text), bf.Encrypt(text, TBlowFish::DefaultRegister));
  EXPECT_EQ(bf.Encrypt(text, "12345678"), bf.Encrypt(text, "12345678-and-more"));
  EXPECT_EQ(bf.Encrypt(text, "abc"), bf.Encrypt(text, "abc     "));
  EXPECT_NE(bf.Encrypt(text, "12345678"), bf.Encrypt(text));

  TBlowFish withRegister(DefaultEncryptionKey, "abc");
  EXPECT_EQ(withRegister.InitRegister(), "abc     ");
  EXPECT_EQ(withRegister.Encrypt(text), bf.Encrypt(text, "abc"));
}

TEST(BlowFishCfb, EmptyTextAndBinaryBytesRoundTrip) {
  TBlowFish bf("a key of some length");
  EXPECT_EQ(bf.Encrypt(""), "");
  std::string binary;
  for (int i = 0; i < 300; ++i) binary += static_cast<char>(i * 7);
  const std::string enc = bf.Encrypt(binary);
  EXPECT_EQ(enc.size(), binary.size());
  EXPECT_NE(enc, binary);
  EXPECT_EQ(bf.Decrypt(enc), binary);
  // A different key does not decrypt it.
  EXPECT_NE(TBlowFish("another key text").Decrypt(enc), binary);
}

}  // namespace
