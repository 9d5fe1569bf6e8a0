#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>
#include <QtGlobal>

#include <nettle/arcfour.h>

#include <array>

namespace xls {

// Turns the encrypted data of a workbook stream's records back into clear data, in place.
// Record headers are never encrypted; records are handed over in stream order.
class StreamCipher {
public:
    virtual ~StreamCipher() = default;
    // Decrypts the data of one record, which starts at offset in the stream and holds size
    // bytes; its first clear bytes were written unencrypted and are left as they are.
    virtual void decryptRecord(qsizetype offset, char* data, qsizetype size, qsizetype clear) = 0;
};

// XOR obfuscation, method 1: a 16-byte array made from the password, applied to each record's
// data from an index that depends on the record's position and size.
class XorObfuscation : public StreamCipher {
public:
    // password: single-byte characters, at most 15.
    explicit XorObfuscation(QByteArrayView password);
    // The 16-bit key and verifier stored for the password.
    static quint16 key(QByteArrayView password);
    static quint16 verifier(QByteArrayView password);
    void decryptRecord(qsizetype offset, char* data, qsizetype size, qsizetype clear) override;

private:
    std::array<quint8, 16> m_array{};
};

// The RC4 keys of the two RC4 schemes: a fresh key for every 1,024-byte block of the stream,
// made from a hash of the password and the block's number.
class Rc4BlockKeys {
public:
    // RC4 (version 1.1): MD5 of the password, mixed with the 16-byte salt; 128-bit keys.
    static Rc4BlockKeys md5(QStringView password, QByteArrayView salt);
    // RC4 CryptoAPI: SHA-1 of the salt and the password; keys of keyBits bits.
    static Rc4BlockKeys cryptoApi(QStringView password, QByteArrayView salt, int keyBits);

    QByteArray key(quint32 block) const;
    // Whether the encrypted verifier and verifier hash were made with this password.
    bool verifies(QByteArrayView encryptedVerifier, QByteArrayView encryptedHash) const;

private:
    enum class Hash { Md5, Sha1 };
    Rc4BlockKeys(Hash hash, QByteArray base, int keyBytes);
    QByteArray digest(QByteArrayView first, QByteArrayView second) const;

    Hash m_hash;
    QByteArray m_base;
    int m_keyBytes;
};

// RC4 over the whole stream, record headers and clear fields included: the key stream of a
// byte depends on its offset alone, and the cipher starts afresh at each 1,024-byte block.
class Rc4Stream : public StreamCipher {
public:
    explicit Rc4Stream(Rc4BlockKeys keys);
    void decryptRecord(qsizetype offset, char* data, qsizetype size, qsizetype clear) override;

private:
    static constexpr qsizetype kBlockSize = 1024;
    // Moves the key stream to offset, which is never behind the current position.
    void seek(qsizetype offset);
    void startBlock(qsizetype block);

    Rc4BlockKeys m_keys;
    arcfour_ctx m_context{};
    qsizetype m_block = -1;
    qsizetype m_position = 0;
    // Where the key stream of bytes left in clear goes; never cleared again.
    std::array<char, kBlockSize> m_discard{};
};

} // namespace xls
