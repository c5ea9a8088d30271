#pragma once

#include <QString>

#include "core/text/question.h"

namespace tessaly {

// What made a page in a folder, as its first lines tell: a catalogue run, the contents tool
// (a contents page or a frame set's top page), or neither (no page, or not one of ours).
enum class PageKind { Other, Catalogue, Contents };

// Reads only the page's first lines; a page that cannot be read is Other.
PageKind pageKindOf(const QString& path);

// Asked before a run replaces the page at path that the other tool made (existing): the title
// names the page and what made it, the body asks.
Question pageReplacementQuestion(const QString& path, PageKind existing);
// What a terminal says instead, before it replaces the page: the question's title, then that
// it replaces it.
QString pageReplacementNotice(const QString& questionTitle);

}  // namespace tessaly
