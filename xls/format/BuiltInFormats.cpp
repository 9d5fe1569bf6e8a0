#include "xls/format/NumberFormat.h"

#include <array>

namespace xls {

namespace {

// Japanese Excel's built-in codes by index; the empty ones have no built-in format. The yen
// formats use U+00A5, the sign Japanese Excel writes.
constexpr std::array<const char16_t*, 59> BuiltInCodes{
    u"General",                                                              // 0
    u"0",                                                                    // 1
    u"0.00",                                                                 // 2
    u"#,##0",                                                                // 3
    u"#,##0.00",                                                             // 4
    u"\"¥\"#,##0;\"¥\"\\-#,##0",                                             // 5
    u"\"¥\"#,##0;[Red]\"¥\"\\-#,##0",                                        // 6
    u"\"¥\"#,##0.00;\"¥\"\\-#,##0.00",                                       // 7
    u"\"¥\"#,##0.00;[Red]\"¥\"\\-#,##0.00",                                  // 8
    u"0%",                                                                   // 9
    u"0.00%",                                                                // 10
    u"0.00E+00",                                                             // 11
    u"# ?/?",                                                                // 12
    u"# ?\?/??",                                                             // 13
    u"yyyy/m/d",                                                             // 14
    u"d-mmm-yy",                                                             // 15
    u"d-mmm",                                                                // 16
    u"mmm-yy",                                                               // 17
    u"h:mm AM/PM",                                                           // 18
    u"h:mm:ss AM/PM",                                                        // 19
    u"h:mm",                                                                 // 20
    u"h:mm:ss",                                                              // 21
    u"yyyy/m/d h:mm",                                                        // 22
    u"",                                                                     // 23
    u"",                                                                     // 24
    u"",                                                                     // 25
    u"",                                                                     // 26
    u"[$-411]ge.m.d",                                                        // 27
    u"[$-411]ggge\"年\"m\"月\"d\"日\"",                                      // 28
    u"[$-411]ggge\"年\"m\"月\"d\"日\"",                                      // 29
    u"m/d/yy",                                                               // 30
    u"yyyy\"年\"m\"月\"d\"日\"",                                             // 31
    u"h\"時\"mm\"分\"",                                                      // 32
    u"h\"時\"mm\"分\"ss\"秒\"",                                              // 33
    u"yyyy\"年\"m\"月\"",                                                    // 34
    u"m\"月\"d\"日\"",                                                       // 35
    u"[$-411]ge.m.d",                                                        // 36
    u"#,##0;-#,##0",                                                         // 37
    u"#,##0;[Red]-#,##0",                                                    // 38
    u"#,##0.00;-#,##0.00",                                                   // 39
    u"#,##0.00;[Red]-#,##0.00",                                              // 40
    u"_ * #,##0_ ;_ * \\-#,##0_ ;_ * \"-\"_ ;_ @_ ",                         // 41
    u"_ \"¥\"* #,##0_ ;_ \"¥\"* \\-#,##0_ ;_ \"¥\"* \"-\"_ ;_ @_ ",          // 42
    u"_ * #,##0.00_ ;_ * \\-#,##0.00_ ;_ * \"-\"?\?_ ;_ @_ ",                // 43
    u"_ \"¥\"* #,##0.00_ ;_ \"¥\"* \\-#,##0.00_ ;_ \"¥\"* \"-\"?\?_ ;_ @_ ", // 44
    u"mm:ss",                                                                // 45
    u"[h]:mm:ss",                                                            // 46
    u"mm:ss.0",                                                              // 47
    u"##0.0E+0",                                                             // 48
    u"@",                                                                    // 49
    u"[$-411]ge.m.d",                                                        // 50
    u"[$-411]ggge\"年\"m\"月\"d\"日\"",                                      // 51
    u"yyyy\"年\"m\"月\"",                                                    // 52
    u"m\"月\"d\"日\"",                                                       // 53
    u"[$-411]ggge\"年\"m\"月\"d\"日\"",                                      // 54
    u"yyyy\"年\"m\"月\"",                                                    // 55
    u"m\"月\"d\"日\"",                                                       // 56
    u"[$-411]ge.m.d",                                                        // 57
    u"[$-411]ggge\"年\"m\"月\"d\"日\"",                                      // 58
};

} // namespace

QString builtInFormatCode(int index) {
    if (index < 0 || index >= static_cast<int>(BuiltInCodes.size()))
        return QString();
    return QString::fromUtf16(BuiltInCodes[static_cast<size_t>(index)]);
}

} // namespace xls
