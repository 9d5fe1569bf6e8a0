#include "StreamCiphers.h"

#include <nettle/md5.h>
#include <nettle/sha1.h>

#include <algorithm>
#include <bit>

namespace xls {

namespace {

// The published tables of XOR obfuscation, method 1.
constexpr std::array<quint16, 15> kInitialCode = {0xE1F0, 0x1D0F, 0xCC9C, 0x84C0, 0x110C,
                                                  0x0E10, 0xF1CE, 0x313E, 0x1872, 0xE139,
                                                  0xD40F, 0x84F9, 0x280C, 0xA96A, 0x4EC3};
constexpr std::array<quint16, 105> kXorMatrix = {
    0xAEFC, 0x4DD9, 0x9BB2, 0x2745, 0x4E8A, 0x9D14, 0x2A09, 0x7B61, 0xF6C2, 0xFDA5, 0xEB6B, 0xC6F7,
    0x9DCF, 0x2BBF, 0x4563, 0x8AC6, 0x05AD, 0x0B5A, 0x16B4, 0x2D68, 0x5AD0, 0x0375, 0x06EA, 0x0DD4,
    0x1BA8, 0x3750, 0x6EA0, 0xDD40, 0xD849, 0xA0B3, 0x5147, 0xA28E, 0x553D, 0xAA7A, 0x44D5, 0x6F45,
    0xDE8A, 0xAD35, 0x4A4B, 0x9496, 0x390D, 0x721A, 0xEB23, 0xC667, 0x9CEF, 0x29FF, 0x53FE, 0xA7FC,
    0x5FD9, 0x47D3, 0x8FA6, 0x0F6D, 0x1EDA, 0x3DB4, 0x7B68, 0xF6D0, 0xB861, 0x60E3, 0xC1C6, 0x93AD,
    0x377B, 0x6EF6, 0xDDEC, 0x45A0, 0x8B40, 0x06A1, 0x0D42, 0x1A84, 0x3508, 0x6A10, 0xAA51, 0x4483,
    0x8906, 0x022D, 0x045A, 0x08B4, 0x1168, 0x76B4, 0xED68, 0xCAF1, 0x85C3, 0x1BA7, 0x374E, 0x6E9C,
    0x3730, 0x6E60, 0xDCC0, 0xA9A1, 0x4363, 0x86C6, 0x1DAD, 0x3331, 0x6662, 0xCCC4, 0x89A9, 0x0373,
    0x06E6, 0x0DCC, 0x1021, 0x2042, 0x4084, 0x8108, 0x1231, 0x2462, 0x48C4};
constexpr std::array<quint8, 15> kPad = {0xBB, 0xFF, 0xFF, 0xBA, 0xFF, 0xFF, 0xB9, 0x80,
                                         0x00, 0xBE, 0x0F, 0x00, 0xBF, 0x0F, 0x00};

quint8 byteAt(QByteArrayView bytes, qsizetype index) {
    return static_cast<quint8>(bytes[index]);
}

QByteArray utf16le(QStringView text) {
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    for (const QChar c : text) {
        bytes.append(static_cast<char>(c.unicode() & 0xFF));
        bytes.append(static_cast<char>(c.unicode() >> 8));
    }
    return bytes;
}

QByteArray le32(quint32 value) {
    QByteArray bytes(4, Qt::Uninitialized);
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

const quint8* raw(QByteArrayView bytes) {
    return reinterpret_cast<const quint8*>(bytes.data());
}

QByteArray md5Of(QByteArrayView first, QByteArrayView second = {}) {
    md5_ctx context;
    md5_init(&context);
    md5_update(&context, static_cast<size_t>(first.size()), raw(first));
    md5_update(&context, static_cast<size_t>(second.size()), raw(second));
    QByteArray digest(MD5_DIGEST_SIZE, Qt::Uninitialized);
    md5_digest(&context, MD5_DIGEST_SIZE, reinterpret_cast<quint8*>(digest.data()));
    return digest;
}

QByteArray sha1Of(QByteArrayView first, QByteArrayView second) {
    sha1_ctx context;
    sha1_init(&context);
    sha1_update(&context, static_cast<size_t>(first.size()), raw(first));
    sha1_update(&context, static_cast<size_t>(second.size()), raw(second));
    QByteArray digest(SHA1_DIGEST_SIZE, Qt::Uninitialized);
    sha1_digest(&context, SHA1_DIGEST_SIZE, reinterpret_cast<quint8*>(digest.data()));
    return digest;
}

void setKey(arcfour_ctx& context, const QByteArray& key) {
    arcfour_set_key(&context, static_cast<size_t>(key.size()), raw(key));
}

void crypt(arcfour_ctx& context, char* bytes, qsizetype count) {
    auto* data = reinterpret_cast<quint8*>(bytes);
    arcfour_crypt(&context, static_cast<size_t>(count), data, data);
}

} // namespace

XorObfuscation::XorObfuscation(QByteArrayView password) {
    const quint16 xorKey = key(password);
    const auto high = static_cast<quint8>(xorKey >> 8);
    const auto low = static_cast<quint8>(xorKey & 0xFF);
    // The password, then the pad, each byte mixed with the key's high byte at odd positions and
    // its low byte at even ones, and rotated right by one bit.
    for (qsizetype i = 0; i < 16; ++i) {
        const quint8 plain = i < password.size() ? byteAt(password, i)
                                                 : kPad[static_cast<size_t>(i - password.size())];
        m_array[static_cast<size_t>(i)] =
            std::rotr(static_cast<quint8>(plain ^ (i % 2 ? high : low)), 1);
    }
}

quint16 XorObfuscation::key(QByteArrayView password) {
    quint16 result = kInitialCode[static_cast<size_t>(password.size() - 1)];
    qsizetype element = static_cast<qsizetype>(kXorMatrix.size()) - 1;
    for (qsizetype i = password.size() - 1; i >= 0; --i) {
        quint8 c = byteAt(password, i);
        for (int bit = 0; bit < 7; ++bit, --element) {
            if (c & 0x40)
                result ^= kXorMatrix[static_cast<size_t>(element)];
            c = static_cast<quint8>(c << 1);
        }
    }
    return result;
}

quint16 XorObfuscation::verifier(QByteArrayView password) {
    quint16 result = 0;
    // The password's bytes from last to first, then its length.
    for (qsizetype i = password.size(); i >= 0; --i) {
        const quint8 c = i == 0 ? static_cast<quint8>(password.size()) : byteAt(password, i - 1);
        const quint16 carry = (result & 0x4000) ? 1 : 0;
        result = static_cast<quint16>((((result << 1) & 0x7FFF) | carry) ^ c);
    }
    return result ^ 0xCE4B;
}

void XorObfuscation::decryptRecord(qsizetype offset, char* data, qsizetype size, qsizetype clear) {
    // The array index starts from the position just past the record's data.
    const qsizetype start = offset + size;
    for (qsizetype i = clear; i < size; ++i) {
        const auto value = static_cast<quint8>(static_cast<quint8>(data[i]) ^
                                               m_array[static_cast<size_t>((start + i) & 15)]);
        data[i] = static_cast<char>(std::rotr(value, 5));
    }
}

Rc4BlockKeys::Rc4BlockKeys(Hash hash, QByteArray base, int keyBytes)
    : m_hash(hash)
    , m_base(std::move(base))
    , m_keyBytes(keyBytes) {}

Rc4BlockKeys Rc4BlockKeys::md5(QStringView password, QByteArrayView salt) {
    const QByteArray truncated = md5Of(utf16le(password)).first(5);
    QByteArray mixed;
    for (int i = 0; i < 16; ++i)
        mixed.append(truncated).append(salt);
    return {Hash::Md5, md5Of(mixed).first(5), 16};
}

Rc4BlockKeys Rc4BlockKeys::cryptoApi(QStringView password, QByteArrayView salt, int keyBits) {
    return {Hash::Sha1, sha1Of(salt, utf16le(password)), keyBits / 8};
}

QByteArray Rc4BlockKeys::digest(QByteArrayView first, QByteArrayView second) const {
    return m_hash == Hash::Md5 ? md5Of(first, second) : sha1Of(first, second);
}

QByteArray Rc4BlockKeys::key(quint32 block) const {
    QByteArray result = digest(m_base, le32(block)).first(m_keyBytes);
    // A 40-bit key is used as a 128-bit one whose last 88 bits are zero.
    if (m_keyBytes == 5)
        result.append(11, '\0');
    return result;
}

bool Rc4BlockKeys::verifies(QByteArrayView encryptedVerifier, QByteArrayView encryptedHash) const {
    arcfour_ctx context{};
    setKey(context, key(0));
    QByteArray verifier = encryptedVerifier.toByteArray();
    QByteArray hash = encryptedHash.toByteArray();
    crypt(context, verifier.data(), verifier.size());
    crypt(context, hash.data(), hash.size());
    const QByteArray expected = digest(verifier, {});
    return hash.size() >= expected.size() && hash.first(expected.size()) == expected;
}

Rc4Stream::Rc4Stream(Rc4BlockKeys keys)
    : m_keys(std::move(keys)) {}

void Rc4Stream::startBlock(qsizetype block) {
    setKey(m_context, m_keys.key(static_cast<quint32>(block)));
    m_block = block;
    m_position = block * kBlockSize;
}

void Rc4Stream::seek(qsizetype offset) {
    if (offset / kBlockSize != m_block)
        startBlock(offset / kBlockSize);
    crypt(m_context, m_discard.data(), offset - m_position);
    m_position = offset;
}

void Rc4Stream::decryptRecord(qsizetype offset, char* data, qsizetype size, qsizetype clear) {
    seek(offset + clear);
    for (qsizetype done = clear; done < size;) {
        if (m_position == (m_block + 1) * kBlockSize)
            startBlock(m_block + 1);
        const qsizetype count = std::min(size - done, (m_block + 1) * kBlockSize - m_position);
        crypt(m_context, data + done, count);
        done += count;
        m_position += count;
    }
}

} // namespace xls
