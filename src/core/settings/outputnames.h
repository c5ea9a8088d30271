#pragma once

#include <QString>

#include "core/settings/catalogsettings.h"

namespace tessaly {

// The settings that become names of files and folders beside the photographs: the page name
// (htmlFileName), the thumbnail folder (thumbFolderName) and the thumbnail prefix
// (thumbPrefix). Each must stay one name inside the photo folder, or a run would write over
// photographs or files elsewhere.

// True when the text is one plain name: no "/", "\" or NUL, and neither "." nor "..".
// An empty text is not a name.
bool isPlainName(const QString& name);

// Raises SettingsError outputNameMessage() for the first of the three settings that cannot
// be used: a page name that is not a plain name, a thumbnail folder name or prefix that is
// neither empty nor a plain name. Checked before a catalogue run or a contents page writes
// anything, whatever the options dialog allowed (a hand-edited or copied Quorvel.ini).
void checkOutputNames(const CatalogSettings& settings);

// "設定「<label>」の値「<value>」は使えません。..." naming the setting as Quorvel.ini does.
QString outputNameMessage(const QString& label, const QString& value);

}  // namespace tessaly
