#include "PrintMessages.h"

#include <cstdio>

namespace print {

QString startedMessage() {
    return QStringLiteral("選択されたすべてのExcelﾌｧｲﾙについて印刷処理を開始いたしまた。"
                          "実際に印刷が終了するまでしばらくお待ち下さい。");
}

QString excelFailureMessage() {
    return QStringLiteral("ご利用のシステムには，Microsoft Excel がインストールされていません。") +
           QStringLiteral("\r\n") +
           QStringLiteral("Tessalyで印刷を行うためには Microsoft Excel 97以上 が必要です。");
}

QString reportFailureMessage() {
    return QStringLiteral("印刷処理中に予測できないエラーが発生したため，印刷処理を中止します。") +
           QStringLiteral("\r\n") +
           QStringLiteral("印刷対象のﾌｧｲﾙを添付の上，有限会社Halvornにお問い合わせ下さい。");
}

QString abortedMessage() {
    return QStringLiteral("印刷処理を中止しました。");
}

QString diagnosticLine(const PathResult& result) {
    if (result.outcome != PathResult::Outcome::Failed)
        return {};
    switch (result.step) {
    case PathResult::Step::Starting:
        return QStringLiteral("tessaly: printing could not start: ") + result.cause;
    case PathResult::Step::Workbook:
        return QStringLiteral("tessaly: printing stopped at %1: %2")
            .arg(result.failedFile, result.cause);
    case PathResult::Step::Ending:
        return QStringLiteral("tessaly: the spreadsheet application failed to quit after "
                              "printing: ") +
               result.cause;
    }
    return {};
}

void writeDiagnostics(const PathResult& result) {
    const QString line = diagnosticLine(result);
    if (line.isEmpty())
        return;
    std::fprintf(stderr, "%s\n", qUtf8Printable(line));
    std::fflush(stderr);
}

void showOutcome(platform::IMessageBox& messageBox, const QString& title, const PathResult& result,
                 const QString& failureText) {
    switch (result.outcome) {
    case PathResult::Outcome::Completed:
        messageBox.show(startedMessage(), platform::MessageIcon::Information, title);
        break;
    case PathResult::Outcome::Aborted:
        messageBox.show(abortedMessage(), platform::MessageIcon::Information, title);
        break;
    case PathResult::Outcome::Failed:
        messageBox.show(failureText, platform::MessageIcon::Stop, title);
        break;
    }
}

} // namespace print
