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

void showOutcome(platform::IMessageBox& messageBox, const QString& title, const PathResult& result,
                 const QString& failureText) {
    switch (result.outcome) {
    case PathResult::Outcome::Completed:
        messageBox.show(startedMessage(), platform::MessageIcon::Information, title);
        break;
    case PathResult::Outcome::Aborted:
        messageBox.show(abortedMessage(), platform::MessageIcon::Information, title);
        break;
    case PathResult::Outcome::Failed: {
        const QString where =
            result.failedFile.isEmpty() ? QStringLiteral("(no workbook yet)") : result.failedFile;
        std::fprintf(stderr, "tessaly: printing stopped at %s: %s\n", qUtf8Printable(where),
                     qUtf8Printable(result.cause));
        std::fflush(stderr);
        messageBox.show(failureText, platform::MessageIcon::Stop, title);
        break;
    }
    }
}

} // namespace print
