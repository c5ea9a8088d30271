#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QStringList>

#include "core/catalog/catalogrun.h"

namespace tessaly::batch {

// The catalogue run's front end on a terminal: progress on standard error (a bar on a
// terminal, one line per image otherwise, nothing when quiet), messages in their own words,
// questions answered from the command line.
class BatchRunHost : public CatalogRunHost {
public:
    BatchRunHost(bool quiet, bool openPage);

    void runStarted(int total) override { total_ = total; }
    void imageRead(int number, const QString& name) override;
    void imageLeftOut(const QString& name, const QString& reason) override;
    void runEnded(CatalogRunOutcome) override;
    bool commentsOn() override { return comments_; }
    void information(const QString& text) override;
    bool question(RunQuestion kind, const QString& text) override;
    void showError(const QString& text) override;
    void openCommentEditor() override {}

    void setComments(bool on) { comments_ = on; }
    // --keep-going: photographs that cannot be read are left out (the question answered Yes).
    void setKeepGoing(bool on) { keepGoing_ = on; }
    const QStringList& leftOut() const { return leftOut_; }
    // Lists the photographs left out again, after the run; nothing when none was.
    void reportLeftOut();

private:
    void showProgress(const QString& fileName);
    QByteArray counter() const;  // "001/300": the status line's counter
    void endProgressLine();
    void print(const QString& text);

    bool quiet_;
    bool openPage_;
    bool terminal_;
    bool comments_ = false;
    bool keepGoing_ = false;
    QStringList leftOut_;
    bool barShown_ = false;
    int total_ = 0;
    int done_ = 0;
    QElapsedTimer clock_;
};

}  // namespace tessaly::batch
