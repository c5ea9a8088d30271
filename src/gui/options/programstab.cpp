#include "gui/options/programstab.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/common/prompts.h"
#include "gui/options/optionsform.h"

namespace tessaly {

using namespace optionsform;

ProgramsTab::ProgramsTab(Prompts& prompts)
    : OptionsTab("TabSheet4", QStringLiteral("外部ソフト")), prompts_(prompts) {
    QVBoxLayout* layout = column(this);
    layout->addWidget(
        label("Label18", QStringLiteral("設定しなければ関連づけされたソフトが起動します")));
    layout->addSpacing(8);
    QLabel* browser = label("Label6", QStringLiteral("ブラウザ設定(&B)"));
    layout->addWidget(browser);
    layout->addWidget(
        indented(row({bind(&CatalogSettings::noBrowserLaunch,
                           check("veltra_check", QStringLiteral("ブラウザを起動しない(&N)")))})));
    const char* browserNames[2] = {"Edit6", "Button3"};
    browser->setBuddy(
        addProgram(layout, browserNames, &CatalogSettings::browserPath,
                   QStringLiteral("WWWを表示できるブラウザ新聞でいう閲覧ソフト(^^;を指定します。"),
                   QStringLiteral("ブラウザ")));
    layout->addSpacing(8);
    QLabel* viewer = label("Label4", QStringLiteral("外部ビュアー設定(&V)"));
    layout->addWidget(viewer);
    const char* viewerNames[2] = {"Edit3", "Button2"};
    viewer->setBuddy(addProgram(layout, viewerNames, &CatalogSettings::viewerPath,
                                QStringLiteral("画像表示ソフトを指定します。"),
                                QStringLiteral("外部ビュアー")));
    layout->addStretch(1);
}

// A read-only path and the button that chooses it; a cancelled chooser keeps the path.
QLineEdit* ProgramsTab::addProgram(QVBoxLayout* layout, const char* names[2],
                                   CatalogSettings::Text setting, const QString& tip,
                                   const QString& subject) {
    QLineEdit* path = bind(setting, edit(names[0], true, 340, tip));
    path->setAccessibleName(subject);
    QPushButton* choose =
        button(names[1], QStringLiteral("設定"), subject + QStringLiteral("を設定"));
    layout->addWidget(indented(row({path, choose}, false)));
    connect(choose, &QPushButton::clicked, this, [this, path] {
        const QString chosen =
            prompts_.openFileName(this, QStringLiteral("ファイル選択"), QString(), QString());
        if (!chosen.isEmpty()) offerPath(prompts_, path, chosen);
    });
    return path;
}

}  // namespace tessaly
