#pragma once

class QAbstractItemView;

namespace tessaly {

// Draws a list or tree with a thick frame in the highlight colour while it has the keyboard
// focus, so a user working without a mouse sees where the keys go (the style's own focus
// mark on a list whose entries are all selected is hard to see).
void showFocusClearly(QAbstractItemView& view);

}  // namespace tessaly
