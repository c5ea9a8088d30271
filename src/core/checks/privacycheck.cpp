#include "core/checks/privacycheck.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include "core/imaging/jpeg/jpegimage.h"
#include "core/imaging/reader/photoreader.h"
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

// What of the owner's privacy the photograph at path carries, whatever its format; nothing
// for a file that is no photograph we can read, since nothing of it is shown either.
PrivateFields privateFieldsOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const PhotoFormat format = photoFormatOf(file.read(32));
    file.close();
    try {
        if (format == PhotoFormat::Jpeg) {
            return PrivacyFilter::find(JpegImage::readSegments(JpegImage::readFile(path)));
        }
        if (format == PhotoFormat::Unknown) return {};
        const std::unique_ptr<PhotoReader> reader = openPhotoReader(path);
        return PrivacyFilter::find(reader->exif(), reader->xmp());
    } catch (const Error&) {
        return {};
    }
}

bool isLocal(const QString& link) {
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));
    return !link.isEmpty() && !link.startsWith(QLatin1Char('#')) && !link.contains(scheme) &&
           !link.startsWith(QLatin1String("//"));
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
            "(?:\\bdisp\\('((?:[^'\\\\]|\\\\.)*)')"),
        QRegularExpression::CaseInsensitiveOption);
    const QDir folder = QFileInfo(pagePath).absoluteDir();
    QStringList files;
    for (auto match = links.globalMatch(page); match.hasNext();) {
        const QRegularExpressionMatch m = match.next();
        QString link = m.captured(1) + m.captured(2) + m.captured(3);
        if (link.contains(QLatin1Char('?'))) continue;  // a query; a name's '?' is escaped
        link.replace(QLatin1String("\\'"), QLatin1String("'"));
        link = unescaped(link);
        if (!isLocal(link)) continue;
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
            if (seen.contains(path) || !QFileInfo(path).isFile()) continue;
            seen.insert(path);
            const PrivateFields fields = privateFieldsOf(path);
            if (fields.any()) findings.push_back({path, fields});
        }
    }
    return findings;
}

}  // namespace tessaly
