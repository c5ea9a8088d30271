#include "core/checks/privacycheck.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include "core/checks/filecarriers.h"
#include "core/pages/classic/slideshowwriter.h"
#include "core/text/errors.h"
#include "core/text/formatting.h"
#include "core/text/sjis.h"
#include "core/text/textfile.h"

namespace tessaly {

namespace {

// The largest page read; ours are a few hundred kilobytes at most.
constexpr qint64 kMaxPageBytes = qint64(64) << 20;

// A link as the page holds it, its references and percent escapes undone.
QString unescaped(const QString& link) {
    static const QRegularExpression reference(QStringLiteral("&(#(\\d+)|amp|quot|lt|gt|apos);"));
    QString text;
    qsizetype at = 0;
    for (auto match = reference.globalMatch(link); match.hasNext();) {
        const QRegularExpressionMatch m = match.next();
        text += link.mid(at, m.capturedStart() - at);
        const QString name = m.captured(1);
        if (!m.captured(2).isEmpty()) {
            const char32_t code = m.captured(2).toUInt();
            text += QString::fromUcs4(&code, 1);
        } else if (name == QLatin1String("amp"))
            text += QLatin1Char('&');
        else if (name == QLatin1String("quot"))
            text += QLatin1Char('"');
        else if (name == QLatin1String("lt"))
            text += QLatin1Char('<');
        else if (name == QLatin1String("gt"))
            text += QLatin1Char('>');
        else
            text += QLatin1Char('\'');
        at = m.capturedEnd();
    }
    text += link.mid(at);
    // Percent escapes stand for the bytes of the name in UTF-8.
    QByteArray out;
    const QByteArray bytes = text.toUtf8();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        bool ok = false;
        const uint code =
            i + 2 < bytes.size() && bytes[i] == '%' ? bytes.mid(i + 1, 2).toUInt(&ok, 16) : 0;
        if (ok) {
            out += char(code);
            i += 2;
        } else {
            out += bytes[i];
        }
    }
    return QString::fromUtf8(out);
}

// The page's text: the modern pages are UTF-8, the designed ones Shift-JIS.
QString pageText(const QByteArray& bytes) {
    const QByteArray head = bytes.left(8192).toLower();
    if (head.contains("<meta charset=\"utf-8\">")) return QString::fromUtf8(bytes);
    return sjis::decode(bytes);
}

bool isLocal(const QString& link) {
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));
    return !link.isEmpty() && !link.startsWith(QLatin1Char('#')) && !link.contains(scheme) &&
           !link.startsWith(QLatin1String("//"));
}

// Pages and style sheets, which link the pictures a page shows.
bool isPageName(const QString& name) {
    for (const char* extension : {".htm", ".html", ".css"}) {
        if (name.endsWith(QLatin1String(extension), Qt::CaseInsensitive)) return true;
    }
    return false;
}

}  // namespace

QStringList PrivacyCheck::pagesOf(const QString& folder, bool subFolders) const {
    QStringList folders{QDir::cleanPath(folder)};
    QStringList pages;
    if (subFolders) {
        QDirIterator below(folder, QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (below.hasNext()) folders << below.next();
        for (const QFileInfo& page : QDir(folder).entryInfoList(
                 {QStringLiteral("*.htm"), QStringLiteral("*.html")}, QDir::Files, QDir::Name)) {
            pages << page.filePath();
        }
    }
    for (const QString& dir : folders) {
        for (const QString& name :
             {settings_.htmlFileName, QString::fromLatin1(kSlideShowFileName)}) {
            const QString page = QDir(dir).filePath(name);
            if (QFileInfo(page).isFile() && !pages.contains(page)) pages << page;
        }
    }
    return pages;
}

QStringList PrivacyCheck::linkedFiles(const QString& pagePath) {
    QFile file(pagePath);
    if (file.size() > kMaxPageBytes || !file.open(QIODevice::ReadOnly)) {
        throw IoError(cannotOpenMessage(pagePath));
    }
    const QString page = pageText(file.readAll());
    static const QRegularExpression links(
        QStringLiteral(
            "(?:\\b(?:href|src)\\s*=\\s*\"([^\"]*)\")|(?:\\bimag\\[\\d+\\]=\"([^\"]*)\")|"
            "(?:\\bdisp\\('((?:[^'\\\\]|\\\\.)*)')|"
            "(?:\\bbackground\\s*=\\s*\"([^\"]*)\")|(?:\\burl\\(\\s*\"([^\"]*)\"\\s*\\))"),
        QRegularExpression::CaseInsensitiveOption);
    const QDir folder = QFileInfo(pagePath).absoluteDir();
    QStringList files;
    for (auto match = links.globalMatch(page); match.hasNext();) {
        const QRegularExpressionMatch m = match.next();
        QString link =
            m.captured(1) + m.captured(2) + m.captured(3) + m.captured(4) + m.captured(5);
        if (link.contains(QLatin1Char('?'))) continue;  // a query; a name's '?' is escaped
        link.replace(QLatin1String("\\'"), QLatin1String("'"));
        link = unescaped(link);
        if (!isLocal(link)) continue;
        const QString path = QDir::cleanPath(folder.filePath(link));
        if (!files.contains(path)) files << path;
    }
    return files;
}

std::vector<PrivacyFinding> PrivacyCheck::check(const QString& folder) const {
    const QStringList catalogues = pagesOf(folder, true);
    QStringList files, others;  // others: pages and style sheets not of the catalogues
    QDirIterator below(folder, QDir::Files | QDir::Hidden | QDir::System,
                       QDirIterator::Subdirectories);
    while (below.hasNext()) {
        const QFileInfo file(below.next());
        if (file.isSymLink() || !file.isFile()) continue;
        files << QDir::cleanPath(file.filePath());
        if (isPageName(file.fileName()) && !catalogues.contains(files.last())) {
            others << files.last();
        }
    }
    files.sort();
    const QSet<QString> present(files.cbegin(), files.cend());
    QStringList linked;
    QSet<QString> seen;
    const auto take = [&](const QStringList& links) {
        for (const QString& path : links) {
            if (present.contains(path) && !seen.contains(path)) linked << path;
            seen.insert(path);
        }
    };
    for (const QString& page : catalogues) take(linkedFiles(page));
    for (const QString& page : others) {
        try {
            take(linkedFiles(page));
        } catch (const Error&) {
            // Not one of ours: what it links counts as unlinked.
        }
    }
    std::vector<PrivacyFinding> findings;
    for (const QString& path : linked) {
        const PrivateFields fields = FileCarriers::of(path);
        if (fields.any()) findings.push_back({path, fields, true});
    }
    for (const QString& path : files) {
        if (seen.contains(path)) continue;
        const PrivateFields fields = FileCarriers::of(path);
        if (fields.any()) findings.push_back({path, fields, false});
    }
    return findings;
}

}  // namespace tessaly
