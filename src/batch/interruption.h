#pragma once

namespace tessaly {
class CatalogRun;
}

namespace tessaly::batch {

// Ctrl-C (SIGINT), SIGTERM and SIGHUP while tessaly-batch works: the first one asks the work
// in hand to stop at its next safe point (a catalogue run keeps the pages of an earlier run, or
// ends its own with the images done; a rotation or conversion finishes the file in hand and
// removes its temporary files); a second one of the same kind ends the program at once, which
// leaves earlier pages as they were. The mode then exits with interruptedStatus().
class Interruption {
public:
    // Watches the three signals; run, when given, is cancelled by the first one.
    explicit Interruption(CatalogRun* run = nullptr);
    // Restores the default handling.
    ~Interruption();
    Interruption(const Interruption&) = delete;
    Interruption& operator=(const Interruption&) = delete;

    // True once one of the signals arrived.
    bool caught() const;
    // 128 + the signal's number (130 for SIGINT, 143 for SIGTERM, 129 for SIGHUP).
    int interruptedStatus() const;
};

}  // namespace tessaly::batch
