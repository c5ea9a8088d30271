#include "core/comments/commenttable.h"

#include <QDir>
#include <QFileInfo>

#include "core/text/errors.h"
#include "core/text/formatting.h"
#include "core/text/sjis.h"
#include "core/text/textfile.h"

namespace tessaly {
namespace {

const char* const kCommentFileName = "PicComment.txt";
const char* const kSeparator = "*****************************";

bool hasLineBreak(const QString& text) {
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
}

// A comment line as one line of the file: line breaks become spaces.
QString singleLine(QString text) {
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

// Raises EncodingError naming the image when the text cannot be stored in Shift-JIS.
void requireEncodable(const QString& text, const QString& fileName) {
    try {
        sjis::encode(text, sjis::Unmappable::Refuse);
    } catch (const EncodingError& e) {
        throw EncodingError(
            QStringLiteral("%1 のコメントを保存できません。\n%2").arg(fileName, e.message()));
    }
}

}  // namespace

QString CommentTable::filePath(const QString& folder) {
    return folderPath(folder) + QLatin1String(kCommentFileName);
}

// Names compare as the file stores them: a WAVE DASH in a folder's file name is read back
// from the file as a FULLWIDTH TILDE, and must still find its record.
QString CommentTable::key(const QString& fileName) {
    return sjis::roundTripped(fileName).toLower();
}

void CommentTable::append(const QString& fileName, const QString& first, const QString& second) {
    entries_.push_back(Entry{fileName, first, second});
    lastIndex_.insert(key(fileName), static_cast<int>(entries_.size()) - 1);
}

void CommentTable::load(const QString& folder) {
    entries_.clear();
    lastIndex_.clear();
    const QString path = filePath(folder);
    const QFileInfo info(path);
    if (!info.exists()) return;
    // Ten thousand entries of long comments stay far below this; a larger file would only
    // fill memory.
    if (info.size() > kMaxFileBytes) {
        throw IoError(QStringLiteral("コメントファイル %1 は大きすぎる（16 MB を超える）ため"
                                     "読み込めません。\n処理は中断されました。")
                          .arg(QDir::toNativeSeparators(path)));
    }
    TextFileReader reader(path);
    reader.readLine();  // separator position, never compared
    QString name = reader.readLine();
    while (!name.isEmpty()) {
        const QString first = reader.readLine();
        const QString second = reader.readLine();
        append(name, first, second);
        reader.readLine();
        name = reader.readLine();
    }
}

CommentLines CommentTable::lookUp(const QString& fileName) const {
    const auto found = lastIndex_.constFind(key(fileName));
    if (found == lastIndex_.constEnd()) return {};
    const Entry& entry = entries_[static_cast<size_t>(found.value())];
    return {entry.first, entry.second};
}

void CommentTable::set(const QString& fileName, const QString& first, const QString& second) {
    const auto found = lastIndex_.constFind(key(fileName));
    if (found == lastIndex_.constEnd()) {
        append(fileName, first, second);
        return;
    }
    Entry& entry = entries_[static_cast<size_t>(found.value())];
    entry.first = first;
    entry.second = second;
}

void CommentTable::save(const QString& folder, const QStringList& fileNames) const {
    struct Record {
        QString name;
        CommentLines lines;
    };
    std::vector<Record> records;
    for (const QString& name : fileNames) {
        if (name.isEmpty()) continue;
        CommentLines lines = lookUp(name);
        // A name the file cannot hold can never be matched by a record; without comments it
        // needs none, so one such photograph does not keep the folder's comments from saving.
        const bool storable = !hasLineBreak(name) && sjis::canEncode(name);
        if (!storable && lines.first.isEmpty() && lines.second.isEmpty()) continue;
        if (hasLineBreak(name)) {
            throw EncodingError(
                QStringLiteral("改行を含むファイル名はコメントファイルに保存できません。"));
        }
        lines.first = singleLine(lines.first);
        lines.second = singleLine(lines.second);
        requireEncodable(name + lines.first + lines.second, name);
        records.push_back(Record{name, lines});
    }
    TextFileWriter writer(filePath(folder), sjis::Unmappable::Refuse,
                          TextFileWriter::Replace::Atomic);
    for (const Record& record : records) {
        writer.writeLine(QLatin1String(kSeparator));
        writer.writeLine(record.name);
        writer.writeLine(record.lines.first);
        writer.writeLine(record.lines.second);
    }
    writer.close();
}

int CommentTable::size() const { return static_cast<int>(entries_.size()); }

}  // namespace tessaly
