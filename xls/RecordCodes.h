#pragma once

#include <QtGlobal>

// The record numbers of Excel 5.0/95 (BIFF5) and Excel 97-2003 (BIFF8) workbook streams that
// the reader looks at. Every other record is skipped by its length.
namespace xls::record {

// Structure
constexpr quint16 kBof = 0x0809;
constexpr quint16 kEof = 0x000A;
constexpr quint16 kContinue = 0x003C;

// Drawing layer
constexpr quint16 kMsoDrawingGroup = 0x00EB;
constexpr quint16 kMsoDrawing = 0x00EC;
constexpr quint16 kObj = 0x005D;
constexpr quint16 kTxo = 0x01B6;
constexpr quint16 kNote = 0x001C;
constexpr quint16 kImData = 0x007F;
constexpr quint16 kHfPicture = 0x0866;

// Workbook globals
constexpr quint16 kFilePass = 0x002F;
constexpr quint16 kCodePage = 0x0042;
constexpr quint16 kDateMode = 0x0022;
constexpr quint16 kBoundSheet = 0x0085;
constexpr quint16 kFont = 0x0031;
constexpr quint16 kFormat = 0x041E;
constexpr quint16 kXf = 0x00E0;
constexpr quint16 kPalette = 0x0092;
constexpr quint16 kSst = 0x00FC;
constexpr quint16 kName = 0x0018;
constexpr quint16 kSupBook = 0x01AE;
constexpr quint16 kExternSheet = 0x0017;

// Cells
constexpr quint16 kBlank = 0x0201;
constexpr quint16 kMulBlank = 0x00BE;
constexpr quint16 kNumber = 0x0203;
constexpr quint16 kRk = 0x027E;
constexpr quint16 kMulRk = 0x00BD;
constexpr quint16 kLabel = 0x0204;
constexpr quint16 kLabelSst = 0x00FD;
constexpr quint16 kRString = 0x00D6;
constexpr quint16 kBoolErr = 0x0205;
constexpr quint16 kFormula = 0x0006;
constexpr quint16 kString = 0x0207;
constexpr quint16 kShrFmla = 0x04BC;
constexpr quint16 kArray = 0x0221;

// Rows, columns and merged ranges
constexpr quint16 kRow = 0x0208;
constexpr quint16 kColInfo = 0x007D;
constexpr quint16 kDefColWidth = 0x0055;
constexpr quint16 kStandardWidth = 0x0099;
constexpr quint16 kDefaultRowHeight = 0x0225;
constexpr quint16 kMergedCells = 0x00E5;

// Phonetic guides and conditional formats
constexpr quint16 kPhoneticInfo = 0x00EF;
constexpr quint16 kCondFmt = 0x01B0;
constexpr quint16 kCf = 0x01B1;

// Page setup
constexpr quint16 kSetup = 0x00A1;
constexpr quint16 kWsBool = 0x0081;
constexpr quint16 kLeftMargin = 0x0026;
constexpr quint16 kRightMargin = 0x0027;
constexpr quint16 kTopMargin = 0x0028;
constexpr quint16 kBottomMargin = 0x0029;
constexpr quint16 kHCenter = 0x0083;
constexpr quint16 kVCenter = 0x0084;
constexpr quint16 kHeader = 0x0014;
constexpr quint16 kFooter = 0x0015;
constexpr quint16 kPrintHeaders = 0x002A;
constexpr quint16 kPrintGridlines = 0x002B;
constexpr quint16 kHorizontalPageBreaks = 0x001B;
constexpr quint16 kVerticalPageBreaks = 0x001A;

// The sheet's window: whether it displays formulas instead of their results
constexpr quint16 kWindow2 = 0x023E;

// A saved custom view and its own page setup
constexpr quint16 kUsersViewBegin = 0x01AA;
constexpr quint16 kUsersViewEnd = 0x01AB;

} // namespace xls::record
