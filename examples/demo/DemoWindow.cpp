#include "DemoWindow.h"
#include "LoginPanel.h"

#include <ILevelComboBox.h>
#include <MacCategoryComboBox.h>
#include <MacCategoryListWidget.h>
#include <MacCategoryPushButton.h>
#include <MacCategoryWidget.h>
#include <MacLevelComboBox.h>
#include <MacTypeComboBox.h>

#include <QBoxLayout>
#include <QFormLayout>
#include <QLabel>

using namespace VarnelQt5;

namespace {

QString hex(qulonglong value)
{
    return QStringLiteral("0x") + QString::number(value, 16);
}

} // namespace

template <typename Picker, typename Signal>
void DemoWindow::addPicker(const QString &title, Picker *picker, Signal changed,
                           const std::function<QString()> &describe)
{
    auto *shown = new QLabel(describe(), this);
    shown->setTextInteractionFlags(Qt::TextSelectableByMouse);
    connect(picker, changed, shown, [shown, describe] { shown->setText(describe()); });
    m_form->addRow(title, picker);
    m_form->addRow(QString(), shown);
}

DemoWindow::DemoWindow(uid_t uid, QWidget *parent)
    : QWidget(parent)
    , m_form(new QFormLayout)
    , m_panels(new QVBoxLayout)
{
    setWindowTitle(QStringLiteral("libvarnel-mac-qt5 pickers for user %1").arg(uid));
    auto *columns = new QHBoxLayout(this);
    columns->addLayout(m_form);
    columns->addSpacing(12);
    columns->addLayout(m_panels, 1);
    m_panels->addStretch();

    auto *level = new MacLevelComboBox(this);
    level->setUid(uid);
    addPicker(QStringLiteral("Level:"), level, &MacLevelComboBox::valueChanged, [level] {
        return QStringLiteral("level %1 (%2)").arg(level->value()).arg(level->currentText());
    });

    auto *integrity = new ILevelComboBox(this);
    integrity->setUid(uid);
    addPicker(QStringLiteral("Integrity:"), integrity, &ILevelComboBox::valueChanged, [integrity] {
        return QStringLiteral("integrity level %1 (%2)").arg(integrity->value()).arg(integrity->currentText());
    });

    auto *categories = new MacCategoryListWidget(uid, this);
    categories->setMaximumHeight(categories->sizeHintForRow(0) * 5 + 2 * categories->frameWidth());
    addPicker(QStringLiteral("Categories:"), categories, &MacCategoryListWidget::valueChanged,
              [categories]() -> QString { return QStringLiteral("categories ") + hex(categories->value()); });

    auto *popupCategories = new MacCategoryWidget(this);
    popupCategories->setUid(uid);
    addPicker(QStringLiteral("Categories (popup):"), popupCategories, &MacCategoryWidget::valueChanged,
              [popupCategories]() -> QString { return QStringLiteral("categories ") + hex(popupCategories->value()); });

    // The push button keeps its checklist to itself; the demonstration peeks.
    auto *buttonCategories = new MacCategoryPushButton(this);
    if (auto *list = buttonCategories->findChild<MacCategoryListWidget *>()) {
        list->setUid(uid);
        auto *shown = new QLabel(QStringLiteral("categories ") + hex(list->value()), this);
        connect(list, &MacCategoryListWidget::valueChanged, shown,
                [shown](mac_cat_t value) { shown->setText(QStringLiteral("categories ") + hex(value)); });
        m_form->addRow(QStringLiteral("Categories (button):"), buttonCategories);
        m_form->addRow(QString(), shown);
    }

    auto *category = new MacCategoryComboBox(this);
    category->setUid(uid);
    addPicker(QStringLiteral("One category:"), category, &MacCategoryComboBox::valueChanged,
              [category]() -> QString { return QStringLiteral("category mask ") + hex(category->value()); });

    auto *type = new MacTypeComboBox(this);
    addPicker(QStringLiteral("Label type:"), type, qOverload<int>(&QComboBox::currentIndexChanged),
              [type]() -> QString { return QStringLiteral("type ") + hex(type->value()); });

    addPanel(new LoginPanel(uid, this));
}

void DemoWindow::addPanel(QWidget *panel)
{
    // Wide enough for a path and a category name without scrolling.
    panel->setMinimumWidth(440);
    m_panels->insertWidget(m_panels->count() - 1, panel);
}
