#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace tessaly {

// Message boxes and choosers as the windows use them. The program passes in QtPrompts;
// tests pass a scripted implementation that records each call and answers it.
// Message texts break their lines with "\n".
class Prompts {
public:
    virtual ~Prompts() = default;
    // Notice with one OK button, captioned with the application title.
    virtual void information(QWidget* parent, const QString& text) = 0;
    // The application's error box for a failure that ended an operation.
    virtual void error(QWidget* parent, const QString& text) = 0;
    // Yes/No question captioned "Tessaly"; true on Yes.
    virtual bool question(QWidget* parent, const QString& text) = 0;
    // Yes/No/Cancel question captioned "Tessaly"; Esc answers Cancel.
    enum class Answer { Yes, No, Cancel };
    virtual Answer questionWithCancel(QWidget* parent, const QString& text) = 0;
    // Warning box with its own caption and Yes/No buttons; true on Yes.
    virtual bool warningYesNo(QWidget* parent, const QString& caption, const QString& text) = 0;
    // File open chooser; an empty text when cancelled.
    virtual QString openFileName(QWidget* parent, const QString& title, const QString& folder,
                                 const QString& filter) = 0;
    // Colour chooser on a stored Windows colour (0x00BBGGRR); nothing when cancelled.
    virtual std::optional<int> chooseColor(QWidget* parent, int colour) = 0;
};

// Windows colour value (0x00BBGGRR) to and from an RGB triple.
int windowsColor(int red, int green, int blue);

}  // namespace tessaly
