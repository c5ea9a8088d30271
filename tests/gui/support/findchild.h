#pragma once

// Reaching a window's controls from a test: by the objectName each control carries (its legacy
// form name: "Button7", "OldFile" ...), as accessibility tools do.
#include <gtest/gtest.h>

#include <QObject>
#include <QString>
#include <stdexcept>
#include <string>

namespace tessaly::test {

// The child of parent named name, of type T. A missing child fails the test and ends it (the
// exception is reported by GoogleTest) rather than letting it go on with a null pointer.
template <typename T>
T* child(const QObject& parent, const char* name) {
    T* found = parent.findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr) {
        const std::string what = parent.objectName().toStdString() + " has no " +
                                 T::staticMetaObject.className() + " named " + name;
        ADD_FAILURE() << what;
        throw std::runtime_error(what);
    }
    return found;
}

}  // namespace tessaly::test
