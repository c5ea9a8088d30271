#pragma once

#include <QStringList>

#include "core/catalog/catalogrun.h"

namespace tessaly::test {

// A front end of the catalogue run without a window: every question is answered No, and what
// the run tells it is recorded.
class RecordingRunHost : public CatalogRunHost {
public:
    QStringList told;    // notices, questions, and "editor" when the comment editor was asked for
    QStringList errors;  // failures the run reported
    bool comments = false;

    bool commentsOn() override { return comments; }
    void information(const QString& text) override { told << text; }
    bool question(RunQuestion, const QString& text) override {
        told << text;
        return false;
    }
    void showError(const QString& text) override { errors << text; }
    void openCommentEditor() override { told << QStringLiteral("editor"); }
};

}  // namespace tessaly::test
