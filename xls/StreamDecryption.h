#pragma once

#include "Workbook.h"

#include <QByteArray>

namespace xls {

// A workbook saved with a password to open has the data of its records encrypted, as its
// FILEPASS record says. The spreadsheet saves a workbook whose structure is protected that way
// with its built-in password, "VelvetSweatshop", and opens it again without asking; such
// workbooks are decrypted here. Every scheme of Excel 5.0 to 2003 is read: XOR obfuscation,
// RC4 and RC4 CryptoAPI.
class StreamDecryption {
public:
    // Decrypts the workbook stream in place when its globals hold a FILEPASS record; a clear
    // stream is left untouched (and not even detached). Throws ReadError: Encrypted for another
    // password or an unknown scheme, Corrupt for a damaged FILEPASS record or stream.
    static void decryptInPlace(QByteArray& stream, BiffVersion version);
};

} // namespace xls
