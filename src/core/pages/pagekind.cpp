#include "core/pages/pagekind.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QRegularExpression>

namespace tessaly {
namespace {

// Enough for the second and third lines of every page we write.
constexpr qint64 kHeadBytes = 4096;

QList<QByteArray> firstLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QList<QByteArray> lines = file.read(kHeadBytes).split('\n');
    for (QByteArray& line : lines) {
        if (line.endsWith('\r')) line.chop(1);
    }
    return lines;
}

QString kindName(PageKind kind) {
    return kind == PageKind::Contents ? QStringLiteral("目次作成で作った目次ページ")
                                      : QStringLiteral("実行で作ったカタログのページ");
}

}  // namespace

// Both kinds carry the program's mark on their second line. A catalogue page's third line
// counts its photographs and names the first ("<!-- FILE=012 a.jpg -->"); a classic contents
// page's counts its catalogues alone, a frame set's says so, and a modern contents page marks
// its second line.
PageKind pageKindOf(const QString& path) {
    if (!QFileInfo(path).isFile()) return PageKind::Other;
    const QList<QByteArray> lines = firstLines(path);
    if (lines.size() < 3 || !lines.at(1).startsWith("<!-- Tessaly Version "))
        return PageKind::Other;
    static const QRegularExpression contentsCount(QStringLiteral("^<!-- FILE=[0-9]+ -->$"));
    const QString third = QString::fromLatin1(lines.at(2));
    if (lines.at(1).endsWith(" contents -->") ||
        third == QLatin1String("<!-- FRAME TOP PAGE -->") ||
        contentsCount.match(third).hasMatch()) {
        return PageKind::Contents;
    }
    return third.startsWith(QLatin1String("<!-- FILE=")) ? PageKind::Catalogue : PageKind::Other;
}

Question pageReplacementQuestion(const QString& path, PageKind existing) {
    const PageKind replacement =
        existing == PageKind::Contents ? PageKind::Catalogue : PageKind::Contents;
    const QString what = replacement == PageKind::Contents ? QStringLiteral("目次ページ")
                                                           : QStringLiteral("カタログのページ");
    return {path + QStringLiteral(" は") + kindName(existing) + QStringLiteral("です。"),
            QFileInfo(path).fileName() + QStringLiteral(" を") + what +
                QStringLiteral("で置き換えますか？")};
}

QString pageReplacementNotice(const QString& questionTitle) {
    return questionTitle + QStringLiteral("置き換えます。");
}

}  // namespace tessaly
