#pragma once

#include <QString>

namespace tessaly {

// Where a page address goes, which decides how its unsafe characters are written.
enum class AddressUse {
    // A quoted attribute (href, src, url(...)): '"', '&', '<' and '>' are percent-encoded.
    Attribute,
    // A string of the slide show's script that the script writes out as markup: '"', '&',
    // '<', '>', U+2028 and U+2029 become "&#N;" (read back as themselves, never as markup or
    // as the end of the string or the script).
    SlideScript,
};

// The relative address, from the page's folder, of the file at relativePath (its folders
// and its name, joined by "/"). Both uses percent-encode '#', '?', '%', '\' and control
// characters, and write "&#N;" for a character Shift-JIS would read back as another; spaces,
// Japanese and the rest are kept. The address always resolves to the file: one that would
// read as a scheme ("javascript:x.jpg", "c:x.jpg") starts with "./", and a space at either
// end, which a browser would strip, is percent-encoded.
QString pageAddress(const QString& relativePath, AddressUse use = AddressUse::Attribute);

}  // namespace tessaly
