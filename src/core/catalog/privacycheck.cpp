#include "core/catalog/privacycheck.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include "core/catalog/slideshowwriter.h"
#include "core/imaging/jpeg/jpegimage.h"
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
        if (!m.captured(2).isEmpty())
            text += QChar(char16_t(m.captured(2).toUInt()));
        else if (name == QLatin1String("amp"))
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
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        bool ok = false;
        const uint code = i + 2 < text.size() && text[i] == QLatin1Char('%')
                              ? text.mid(i + 1, 2).toUInt(&ok, 16)
                              : 0;
        if (ok) {
            out += QChar(char16_t(code));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

bool isLocal(const QString& link) {
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));
    return !link.isEmpty() && !link.startsWith(QLatin1Char('#')) && !link.contains(scheme) &&
           !link.startsWith(QLatin1String("//"));
}

bool isJpegName(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg");
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
    const QString page = sjis::decode(file.readAll());
    static const QRegularExpression links(
        QStringLiteral(
            "(?:\\b(?:href|src)\\s*=\\s*\"([^\"]*)\")|(?:\\bimag\\[\\d+\\]=\"([^\"]*)\")|"
            "(?:\\bdisp\\('((?:[^'\\\\]|\\\\.)*)')"),
        QRegularExpression::CaseInsensitiveOption);
    const QDir folder = QFileInfo(pagePath).absoluteDir();
    QStringList files;
    for (auto match = links.globalMatch(page); match.hasNext();) {
        const QRegularExpressionMatch m = match.next();
        QString link = m.captured(1) + m.captured(2) + m.captured(3);
        link.replace(QLatin1String("\\'"), QLatin1String("'"));
        link = unescaped(link);
        if (!isLocal(link) || link.contains(QLatin1Char('?'))) continue;
        const QString path = QDir::cleanPath(folder.filePath(link));
        if (!files.contains(path)) files << path;
    }
    return files;
}

std::vector<PrivacyFinding> PrivacyCheck::check(const QStringList& pages) const {
    std::vector<PrivacyFinding> findings;
    QSet<QString> seen;
    for (const QString& page : pages) {
        for (const QString& path : linkedFiles(page)) {
            if (seen.contains(path) || !isJpegName(path) || !QFileInfo(path).isFile()) continue;
            seen.insert(path);
            PrivateFields fields;
            try {
                fields = PrivacyFilter::find(JpegImage::readSegments(JpegImage::readFile(path)));
            } catch (const Error&) {
                continue;  // no JPEG we can read: nothing of it is shown either
            }
            if (fields.any()) findings.push_back({path, fields});
        }
    }
    return findings;
}

}  // namespace tessaly
