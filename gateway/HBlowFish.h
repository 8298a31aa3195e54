// The Blowfish block cipher (16 rounds, the published P-array and S-boxes and
// key schedule) and the cipher-feedback mode that the session files use.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "gateway/HttpEng.h"

class TBlowFish : public TObject {
public:
  static constexpr int BlockSize = 8;
  // The register used when none is given; always 8 characters.
  static const char* const DefaultRegister;

  // Key text of 8 to 65 characters, else "Blowfish keylength out of range".
  // An initial register that is not 8 characters long is cut or padded with
  // blanks; an empty one means the default register.
  explicit TBlowFish(std::string_view key, std::string_view initRegister = {});
  std::string ClassName() const override { return "TBlowFish"; }

  // Cipher feedback over whole blocks; a final piece shorter than a block is
  // XOR-ed with the start of the encrypted register. The output has the
  // input's length. An empty register means the object's initial register.
  std::string Encrypt(std::string_view text, std::string_view reg = {}) const;
  std::string Decrypt(std::string_view text, std::string_view reg = {}) const;

  // The raw block function on two big-endian halves.
  void EncryptBlock(uint32_t& left, uint32_t& right) const;
  void DecryptBlock(uint32_t& left, uint32_t& right) const;
  void EncryptBlock(uint8_t block[BlockSize]) const;
  void DecryptBlock(uint8_t block[BlockSize]) const;

  // Runs the key schedule over raw key bytes (1..72), without the length
  // rule of the key text.
  void SetKeyBytes(const uint8_t* key, size_t length);

  const std::string& Key() const { return key_; }
  const std::string& InitRegister() const { return register_; }

private:
  uint32_t F(uint32_t x) const;
  std::string Crypt(std::string_view text, std::string_view reg, bool decrypt) const;

  uint32_t p_[18];
  uint32_t s_[4][256];
  std::string key_;
  std::string register_;
};
