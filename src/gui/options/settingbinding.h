#pragma once

#include "core/settings/catalogsettings.h"

class QWidget;

namespace tessaly {

// Moves every setting between the record and the options control its row in settingRows()
// names, by the control's kind: a check box shows its switch as the pages read it and
// stores "on" or "off"; an edit holds the text; a number box, a track bar and the arrow
// buttons a number (one that does not read gives the minimum); a swatch a colour; a list
// the entry the text names (exactly, or the entry a number names in steps of the first
// entry: "300" in 100, 200 ... is the third; a list of names keeps its selection).
class SettingBinding {
public:
    // Raises nothing; a row whose control is not under root is left out.
    static void load(QWidget& root, const CatalogSettings& record);
    static void store(const QWidget& root, CatalogSettings& record);
};

}  // namespace tessaly
