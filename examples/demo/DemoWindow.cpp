#include "DemoWindow.h"

#include <MacLevelComboBox.h>

#include <QFormLayout>
#include <QLabel>

DemoWindow::DemoWindow(uid_t uid, QWidget *parent)
    : QWidget(parent)
    , m_form(new QFormLayout(this))
{
    setWindowTitle(QStringLiteral("libvarnel-mac-qt5 pickers for user %1").arg(uid));

    auto *level = new VarnelQt5::MacLevelComboBox(this);
    level->setUid(uid);
    auto *levelValue = new QLabel(this);
    const auto showLevel = [level, levelValue] {
        levelValue->setText(QStringLiteral("level %1: %2").arg(level->value()).arg(level->currentText()));
    };
    connect(level, &VarnelQt5::MacLevelComboBox::valueChanged, levelValue, showLevel);
    showLevel();
    m_form->addRow(QStringLiteral("Level:"), level);
    m_form->addRow(QString(), levelValue);
}
