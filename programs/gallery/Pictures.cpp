// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "Pictures.h"
#include "FilePanel.h"
#include "GalleryWindow.h"

#include <LoginMacLabelDialog.h>
#include <MacCategoryFilterEdit.h>
#include <MacCategoryListWidget.h>

#include <QDir>
#include <QGroupBox>
#include <QPixmap>

using VarnelQt5::LoginMacLabelDialog;

namespace Pictures {

QStringList render(GalleryWindow &window, const QString &dir, QString *error)
{
    QStringList written;
    const QDir folder(dir);
    if (!QDir().mkpath(dir) || !folder.exists()) {
        *error = QStringLiteral("cannot create the folder %1").arg(QDir::toNativeSeparators(folder.absolutePath()));
        return written;
    }
    const auto save = [&](const QPixmap &picture, const QString &name) {
        if (!error->isEmpty())
            return;
        const QString file = folder.absoluteFilePath(name + QStringLiteral(".png"));
        if (picture.isNull() || !picture.save(file, "PNG")) {
            *error = QStringLiteral("cannot write %1").arg(QDir::toNativeSeparators(file));
            return;
        }
        written.append(file);
    };

    // The whole gallery, however little of it the screen shows.
    QWidget *content = window.content();
    content->resize(content->sizeHint());
    save(content->grab(), QStringLiteral("gallery"));
    for (QGroupBox *part : window.parts())
        save(part->grab(), part->objectName());

    // The category list once more, narrowed by a few letters typed into its
    // filter; the checked categories stay in view.
    for (QGroupBox *part : window.parts()) {
        auto *filter = part->findChild<VarnelQt5::MacCategoryFilterEdit *>();
        auto *list = filter ? filter->categoryList() : nullptr;
        if (!list || list->count() < 2)
            continue;
        const QString name = list->item(list->count() - 1)->text().section(QLatin1Char(':'), 1);
        filter->setText(name.left(3));
        save(part->grab(), QStringLiteral("maccategoryfilteredit"));
        filter->clear();
    }

    FilePanel *filePanel = window.filePanel();
    const bool fileShown = filePanel->isVisible();
    filePanel->show();
    save(filePanel->grab(), filePanel->objectName());
    filePanel->setVisible(fileShown);

    // Shown and grabbed rather than run: a modal loop would wait for a person.
    for (const bool themed : {false, true}) {
        LoginMacLabelDialog dialog(window.uid(), themed, nullptr);
        dialog.show();
        save(dialog.grab(), themed ? QStringLiteral("loginmaclabeldialog-themed") : QStringLiteral("loginmaclabeldialog"));
        dialog.hide();
    }
    return written;
}

} // namespace Pictures
