// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// The library's German catalogue, installed into an application, reaches
// the widgets through the contexts their texts are looked up in.

#include "LoginMacLabelDialog.h"
#include "MacCategoryListWidget.h"
#include "MacCategoryPushButton.h"
#include "MacCategoryWidget.h"
#include "MacFileModel.h"
#include "MacLevelComboBox.h"
#include "MacTypeComboBox.h"
#include "StandinPolicy.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

using namespace VarnelQt5;

class tst_Translations : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void widgetsSpeakGerman();
    void accessibleTextsSpeakGerman();

private:
    QTranslator m_translator;
};

void tst_Translations::initTestCase()
{
    QVERIFY(m_translator.load(QStringLiteral(VARNEL_CATALOGUE "_de"), QStringLiteral(VARNEL_QM_DIR)));
    QVERIFY(QCoreApplication::installTranslator(&m_translator));
}

void tst_Translations::widgetsSpeakGerman()
{
    StandinPolicy policy;

    MacTypeComboBox type;
    QCOMPARE(type.itemText(0), QStringLiteral("Keiner"));

    MacCategoryPushButton button;
    QCOMPARE(button.text(), QStringLiteral("Kategorien"));

    MacCategoryListWidget list;
    QVERIFY(list.rebuild());
    QVERIFY(list.setValue(mac_cat_t(1) << 40));
    QCOMPARE(list.item(list.count() - 1)->text(), QStringLiteral("40:Unbekannt"));

    MacCategoryWidget categories;
    QStringList buttons;
    for (const QPushButton *child : categories.findChildren<QPushButton *>())
        buttons << child->text();
    QVERIFY2(buttons.contains(QStringLiteral("Fertig")), qPrintable(buttons.join(QLatin1Char(' '))));

    QTemporaryDir tree;
    QVERIFY(tree.isValid());
    MacFileModel model(tree.path(), nullptr);
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Name"));
    QCOMPARE(model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("Kennung"));

    for (const bool themed : {false, true}) {
        LoginMacLabelDialog dialog(1000, themed, nullptr);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("MAC-Label-Auswahl"));
        QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("_levelLabelLabel"))->text(), QStringLiteral("Ebene:"));
        if (themed) {
            const auto *box = dialog.findChild<QDialogButtonBox *>();
            QCOMPARE(box->button(QDialogButtonBox::Ok)->text(), QStringLiteral("Anmelden"));
        }
        dialog.setEditable(false);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("MAC-Label-Information"));
    }
}

void tst_Translations::accessibleTextsSpeakGerman()
{
    StandinPolicy policy;

    MacLevelComboBox level;
    QCOMPARE(level.accessibleName(), QStringLiteral("Ebene"));

    MacCategoryListWidget list(uid_t(1000));
    QVERIFY(list.setValue(0x1));
    QCOMPARE(list.item(0)->data(Qt::AccessibleDescriptionRole).toString(),
             QStringLiteral("Kategorie C0, aktiviert"));

    // A form names its pickers after its captions, in the caption's language.
    LoginMacLabelDialog dialog(1000, true, nullptr);
    QCOMPARE(dialog.findChild<QWidget *>(QStringLiteral("_integrityComboBox"))->accessibleName(),
             QStringLiteral("Integrität"));
}

QTEST_MAIN(tst_Translations)
#include "tst_translations.moc"
