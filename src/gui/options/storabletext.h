#pragma once

#include <QString>

namespace tessaly {

// Whether a text typed or chosen in the options dialog can go into the settings file, which is
// Shift-JIS: paths and names must read back exactly, other texts need only be storable.
class StorableText {
public:
    // Empty when the text can be stored; otherwise the reason, naming the first character
    // that cannot ("文字 「é」(U+00E9) はShift-JISで保存できません。").
    static QString problem(const QString& text, bool exact);

    // The folder itself when its path can be stored exactly, else its nearest ancestor whose
    // path can ("/home/me/café/2024" -> "/home/me"); empty when none can.
    static QString nearestStorableFolder(const QString& folder);

    // The message for a field that cannot be stored: the field's name, then the reason.
    static QString refusal(const QString& fieldName, const QString& problem);
};

}  // namespace tessaly
