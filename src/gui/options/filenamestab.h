#pragma once

#include "gui/options/optionstab.h"

namespace tessaly {

// "作成ﾌｧｲﾙ名": the names of the catalogue page, the thumbnail folder and the thumbnail
// prefix, which the contents generator uses too.
class FileNamesTab : public OptionsTab {
    Q_OBJECT
public:
    FileNamesTab();
};

}  // namespace tessaly
