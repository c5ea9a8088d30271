#pragma once

#include <QString>

namespace tessaly {

// A question to the user in its parts: what happened (the first line, which a terminal
// prints alone when it answers by itself) and what is asked.
struct Question {
    QString title;
    QString body;

    // The whole question as a message box shows it: title, line break, body.
    QString text() const { return title + QLatin1Char('\n') + body; }
};

}  // namespace tessaly
