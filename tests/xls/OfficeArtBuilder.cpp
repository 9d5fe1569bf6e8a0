#include "OfficeArtBuilder.h"

#include "BiffBuilder.h"

namespace xlstest {

QByteArray art(int version, int instance, int type, const QByteArray& data, int extra) {
    return u16(version | (instance << 4)) + u16(type) + u32(data.size() + extra) + data;
}

QByteArray container(int type, const QByteArray& children) {
    return art(0xF, 0, type, children);
}

QByteArray pictureStore(const QByteArray& picture, bool metafile) {
    QByteArray blip;
    if (metafile) {
        const QByteArray packed = qCompress(picture).sliced(4); // without Qt's size prefix
        blip = art(0, 0x3D4, 0xF01A,
                   QByteArray(16, 'u') + u32(picture.size()) + QByteArray(24, '\0') +
                       u32(packed.size()) + u8(0) + u8(0xFE) + packed);
    } else {
        blip = art(0, 0x6E0, 0xF01E, QByteArray(16, 'u') + u8(0xFF) + picture);
    }
    const QByteArray entry = u8(6) + u8(6) + QByteArray(16, 'u') + u16(0xFF) + u32(blip.size()) +
                             u32(1) + u32(0) + u32(0);
    return container(0xF000, container(0xF001, art(2, 6, 0xF007, entry + blip)));
}

QByteArray hfPicture(int flags, const QByteArray& data) {
    return BiffBuilder::encoded(0x0866, u16(0x0866) + QByteArray(10, '\0') + u16(flags) + data);
}

QByteArray hfDrawing(const QString& name, int pib, int width, int height) {
    const QByteArray wzName = utf16(name) + u16(0);
    const QByteArray properties = u16(0x0104) + u32(pib) + u16(0x8380) + u32(wzName.size());
    const QByteArray shape = container(0xF004, art(2, 75, 0xF00A, u32(1025) + u32(0x0A00)) +
                                                   art(3, 2, 0xF00B, properties + wzName) +
                                                   art(0, 0, 0xF010, u32(width) + u32(height)));
    const QByteArray patriarch = container(0xF004, art(1, 0, 0xF009, QByteArray(16, '\0')) +
                                                       art(2, 0, 0xF00A, u32(1024) + u32(5)));
    return container(0xF002,
                     art(0, 1, 0xF008, u32(2) + u32(1025)) + container(0xF003, patriarch + shape));
}

} // namespace xlstest
