#include "StreamDecryption.h"

#include "ReadError.h"
#include "RecordCodes.h"
#include "RecordReader.h"
#include "RecordStream.h"
#include "StreamCiphers.h"

#include <memory>
#include <optional>

namespace xls {

namespace {

using Kind = ReadError::Kind;

// The password the spreadsheet encrypts with when the user gave none.
constexpr char16_t kDefaultPassword[] = u"VelvetSweatshop";

// Records whose data is never encrypted, besides BOF and FILEPASS.
constexpr quint16 kInterfaceHdr = 0x00E1;
constexpr quint16 kRrdHead = 0x0138;
constexpr quint16 kUsrExcl = 0x0194;
constexpr quint16 kFileLock = 0x0195;
constexpr quint16 kRrdInfo = 0x0196;

constexpr quint32 kRc4AlgorithmId = 0x6801;
constexpr quint32 kSha1AlgorithmId = 0x8004;

ReadError needsPassword() {
    return {Kind::Encrypted, QStringLiteral("the workbook is protected by a password to open, "
                                            "and reading it needs that password")};
}

ReadError unknownScheme(const QString& what) {
    return {Kind::Encrypted,
            QStringLiteral("the workbook is protected by a password to open, encrypted in a way "
                           "that is not read (%1)")
                .arg(what)};
}

// The FILEPASS record of the workbook globals, if any. Record headers are never encrypted.
std::optional<Record> filePassOf(QByteArrayView stream) {
    RecordStream records(stream, 0);
    Record record;
    while (records.next(record)) {
        if (record.code == record::kFilePass)
            return record;
        if (record.code == record::kEof)
            break;
    }
    return std::nullopt;
}

// How many of a record's first bytes were written unencrypted.
qsizetype clearBytesOf(quint16 code, qsizetype size) {
    switch (code) {
    case record::kBof:
    case record::kFilePass:
    case kInterfaceHdr:
    case kRrdHead:
    case kUsrExcl:
    case kFileLock:
    case kRrdInfo:
        return size;
    case record::kBoundSheet: // the sheet's stream position
        return std::min<qsizetype>(size, 4);
    default:
        return 0;
    }
}

std::unique_ptr<StreamCipher> xorCipher(RecordReader& reader) {
    const quint16 key = reader.u16();
    const quint16 verifier = reader.u16();
    const QByteArray password = QString::fromUtf16(kDefaultPassword).toLatin1();
    if (key != XorObfuscation::key(password) || verifier != XorObfuscation::verifier(password))
        throw needsPassword();
    return std::make_unique<XorObfuscation>(password);
}

std::unique_ptr<StreamCipher> rc4Cipher(RecordReader& reader) {
    const QByteArray salt = reader.bytes(16);
    const QByteArray verifier = reader.bytes(16);
    const QByteArray verifierHash = reader.bytes(16);
    Rc4BlockKeys keys = Rc4BlockKeys::md5(kDefaultPassword, salt);
    if (!keys.verifies(verifier, verifierHash))
        throw needsPassword();
    return std::make_unique<Rc4Stream>(std::move(keys));
}

std::unique_ptr<StreamCipher> cryptoApiCipher(RecordReader& reader) {
    reader.skip(4); // a copy of the header's flags
    const quint32 headerSize = reader.u32();
    if (headerSize < 32 || headerSize > static_cast<quint32>(reader.remaining()))
        throw reader.corrupt(QStringLiteral("the encryption header's size is out of range"));
    reader.skip(8); // flags and a reserved size
    const quint32 algorithm = reader.u32();
    const quint32 hash = reader.u32();
    quint32 keyBits = reader.u32();
    reader.skip(headerSize - 20); // provider type, reserved fields and provider name
    if ((algorithm != 0 && algorithm != kRc4AlgorithmId) || (hash != 0 && hash != kSha1AlgorithmId))
        throw unknownScheme(
            QStringLiteral("algorithm 0x%1, hash 0x%2").arg(algorithm, 0, 16).arg(hash, 0, 16));
    if (keyBits == 0)
        keyBits = 40;
    if (keyBits < 40 || keyBits > 128 || keyBits % 8 != 0)
        throw reader.corrupt(
            QStringLiteral("the encryption key size %1 is out of range").arg(keyBits));
    if (reader.u32() != 16)
        throw reader.corrupt(QStringLiteral("the encryption salt is not 16 bytes"));
    const QByteArray salt = reader.bytes(16);
    const QByteArray verifier = reader.bytes(16);
    if (reader.u32() != 20)
        throw reader.corrupt(QStringLiteral("the verifier hash is not 20 bytes"));
    const QByteArray verifierHash = reader.bytes(20);
    Rc4BlockKeys keys = Rc4BlockKeys::cryptoApi(kDefaultPassword, salt, static_cast<int>(keyBits));
    if (!keys.verifies(verifier, verifierHash))
        throw needsPassword();
    return std::make_unique<Rc4Stream>(std::move(keys));
}

// The cipher that FILEPASS describes, once the default password is known to open it.
std::unique_ptr<StreamCipher> cipherFor(const Record& filePass, BiffVersion version) {
    RecordReader reader(filePass);
    // Excel 5.0/95 knows only XOR obfuscation, and its FILEPASS has no type field.
    if (version == BiffVersion::Biff5)
        return xorCipher(reader);
    const quint16 type = reader.u16();
    if (type == 0)
        return xorCipher(reader);
    if (type != 1)
        throw unknownScheme(QStringLiteral("type %1").arg(type));
    const quint16 major = reader.u16();
    const quint16 minor = reader.u16();
    if (major == 1 && minor == 1)
        return rc4Cipher(reader);
    if (major >= 2 && major <= 4 && minor == 2)
        return cryptoApiCipher(reader);
    throw unknownScheme(QStringLiteral("version %1.%2").arg(major).arg(minor));
}

} // namespace

void StreamDecryption::decryptInPlace(QByteArray& stream, BiffVersion version) {
    const std::optional<Record> filePass = filePassOf(stream);
    if (!filePass)
        return;
    const std::unique_ptr<StreamCipher> cipher = cipherFor(*filePass, version);
    // Writing detaches a borrowed or shared buffer once; a stream read from a file is the only
    // copy and is decrypted where it lies.
    char* data = stream.data();
    const qsizetype size = stream.size();
    // A record cut off by the stream's end is left as it is: reading it later reports the
    // damage, as in a clear workbook. Padding after the last record is no damage at all.
    for (qsizetype at = filePass->offset + 4 + filePass->data.size(); at + 4 <= size;) {
        const auto code = static_cast<quint16>(static_cast<quint8>(data[at]) |
                                               (static_cast<quint8>(data[at + 1]) << 8));
        const qsizetype length =
            static_cast<quint8>(data[at + 2]) | (static_cast<quint8>(data[at + 3]) << 8);
        const qsizetype start = at + 4;
        if (length > size - start)
            break;
        cipher->decryptRecord(start, data + start, length, clearBytesOf(code, length));
        at = start + length;
    }
}

} // namespace xls
