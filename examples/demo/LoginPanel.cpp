#include "LoginPanel.h"

#include <LoginMacLabelDialog.h>
#include <LoginMacLabelWidget.h>

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include <cstdlib>

using namespace VarnelQt5;

namespace {

QLabel *selectableLabel(QWidget *parent)
{
    auto *label = new QLabel(QStringLiteral("(nothing chosen yet)"), parent);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QString quoted(const QStringList &list)
{
    QStringList entries;
    for (const QString &entry : list)
        entries.append(QLatin1Char('"') + entry + QLatin1Char('"'));
    return entries.join(QLatin1Char(' '));
}

} // namespace

LoginPanel::LoginPanel(uid_t uid, QWidget *parent)
    : QGroupBox(QStringLiteral("Login label for user %1").arg(uid), parent)
    , m_uid(uid)
    , m_label(selectableLabel(this))
    , m_arguments(selectableLabel(this))
    , m_command(selectableLabel(this))
{
    auto *buttons = new QHBoxLayout;
    auto *plain = new QPushButton(QStringLiteral("Plain dialog..."), this);
    auto *themed = new QPushButton(QStringLiteral("Themed dialog..."), this);
    connect(plain, &QPushButton::clicked, this, [this] { choose(false); });
    connect(themed, &QPushButton::clicked, this, [this] { choose(true); });
    buttons->addWidget(plain);
    buttons->addWidget(themed);
    buttons->addStretch();

    auto *form = new QFormLayout(this);
    form->addRow(buttons);
    form->addRow(QStringLiteral("Label text:"), m_label);
    form->addRow(QStringLiteral("Arguments:"), m_arguments);
    form->addRow(QStringLiteral("Command:"), m_command);
}

void LoginPanel::choose(bool themed)
{
    LoginMacLabelDialog dialog(m_uid, themed, nullptr);
    if (dialog.exec() != QDialog::Accepted)
        return;

    char *text = dialog.malloc_mac_label_text();
    m_label->setText(text ? QString::fromLocal8Bit(text) : QStringLiteral("(no label)"));
    std::free(text);
    // The dialog forwards the label only; the lists come from its widget.
    if (const auto *widget = dialog.findChild<LoginMacLabelWidget *>()) {
        m_arguments->setText(quoted(widget->getVexorArguments()));
        m_command->setText(widget->getVexorCommand().join(QLatin1Char(' ')));
    }
}
