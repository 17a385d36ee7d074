// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// Builds a form drawn with the library's widgets, compiled by uic, and checks
// that each widget is the library's and offers the built-in policy's values.

#include "StandinLive.h"
#include "ui_LabelForm.h"

#include <FileMacLabelWidget.h>
#include <ILevelComboBox.h>
#include <LoginMacLabelWidget.h>
#include <MacCategoryComboBox.h>
#include <MacCategoryListWidget.h>
#include <MacCategoryPushButton.h>
#include <MacCategoryWidget.h>
#include <MacLevelComboBox.h>
#include <MacTypeComboBox.h>

#include <QApplication>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

int failures = 0;

void check(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "FAILED: %s\n", what);
        ++failures;
    }
}

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    {
        auto form = std::make_unique<QWidget>();
        Ui::LabelForm ui;
        ui.setupUi(form.get());

        check(form->findChildren<QWidget *>().size() > 8, "the form holds its widgets");
        check(form->findChild<VarnelQt5::MacCategoryPushButton *>(QStringLiteral("macCategoryPushButton"))
                  == ui.macCategoryPushButton,
              "the category button is the library's, named as drawn");
        check(form->findChild<VarnelQt5::FileMacLabelWidget *>(QStringLiteral("fileMacLabelWidget"))
                  == ui.fileMacLabelWidget,
              "the file label widget is the library's, named as drawn");

        const uid_t uid = getuid();
        ui.macLevelComboBox->setUid(uid);
        check(ui.macLevelComboBox->allValues().size() == 4, "four levels");
        ui.iLevelComboBox->setUid(uid);
        check(ui.iLevelComboBox->count() == 2, "two integrity levels");
        ui.macCategoryListWidget->setUid(uid);
        check(ui.macCategoryListWidget->count() == 8, "eight categories in the checklist");
        ui.macCategoryComboBox->setUid(uid);
        check(ui.macCategoryComboBox->count() >= 8, "every category in the combo box");
        ui.macCategoryWidget->setUid(uid);
        ui.macCategoryWidget->setValue(0x5);
        check(ui.macCategoryWidget->value() == 0x5, "the category editor keeps a set");
        check(ui.macTypeComboBox->count() > 0, "label types offered");
        check(form->findChild<VarnelQt5::LoginMacLabelWidget *>(QStringLiteral("loginMacLabelWidget"))
                      == ui.loginMacLabelWidget
                  && !ui.loginMacLabelWidget->themed(),
              "the login chooser drawn in a form is the library's plain form");
    }
    check(standinLive() == 0, "every platform object released");
    std::printf("form checked: %d failures\n", failures);
    return failures == 0 ? 0 : 1;
}
