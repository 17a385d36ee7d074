// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "GalleryWindow.h"
#include "FilePanel.h"

#include <ILevelComboBox.h>
#include <LoginMacLabelDialog.h>
#include <LoginMacLabelWidget.h>
#include <MacCategoryComboBox.h>
#include <MacCategoryFilterEdit.h>
#include <MacCategoryListWidget.h>
#include <MacCategoryPushButton.h>
#include <MacCategoryWidget.h>
#include <MacLevelComboBox.h>
#include <MacTypeComboBox.h>

#include <QBoxLayout>
#include <QCoreApplication>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>

#include <cstdlib>

using namespace VarnelQt5;

namespace {

QLabel *valueLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setWordWrap(true);
    return label;
}

QString quoted(const QStringList &list)
{
    QStringList entries;
    for (const QString &entry : list)
        entries.append(QLatin1Char('"') + entry + QLatin1Char('"'));
    return entries.join(QLatin1Char(' '));
}

QString labelText(LoginMacLabelWidget *widget)
{
    char *text = widget->malloc_mac_label_text();
    const QString result =
        text ? QString::fromLocal8Bit(text) : QCoreApplication::translate("GalleryWindow", "(no label)");
    std::free(text);
    return result;
}

template <typename Source, typename Signal>
void follow(Source *source, Signal changed, QLabel *shown, const std::function<QString()> &describe)
{
    if (source)
        QObject::connect(source, changed, shown, [shown, describe] { shown->setText(describe()); });
}

} // namespace

QString GalleryWindow::describeSet(mac_cat_t set) const
{
    return QStringLiteral("%1 (%2)").arg(m_words.categories(set), LabelWords::hex(set));
}

QLabel *GalleryWindow::addPart(QBoxLayout *column, const QString &name, const QString &title,
                              QWidget *picker, const std::function<QString()> &describe)
{
    auto *box = new QGroupBox(title, this);
    box->setObjectName(name);
    picker->setParent(box);
    auto *shown = valueLabel(describe(), box);
    shown->setObjectName(QStringLiteral("value"));
    auto *layout = new QVBoxLayout(box);
    layout->addWidget(picker);
    layout->addWidget(shown);
    column->addWidget(box);
    m_parts.append(box);
    return shown;
}

GalleryWindow::GalleryWindow(uid_t uid, const QString &filePath, QWidget *parent)
    : QWidget(parent)
    , m_uid(uid)
    , m_filePanel(new FilePanel(filePath, this))
    , m_loginText(valueLabel(tr("(nothing accepted yet)"), this))
    , m_loginArguments(valueLabel(QString(), this))
    , m_loginCommand(valueLabel(QString(), this))
    , m_content(new QWidget(this))
{
    //: %1 is the library's name with its Qt major, %2 the user's id.
    setWindowTitle(tr("%1 gallery for user %2").arg(QStringLiteral(VARNEL_PROGRAM_LIBRARY), QString::number(uid)));
    m_content->setObjectName(QStringLiteral("galleryContent"));
    auto *columns = new QHBoxLayout(m_content);
    auto *combos = new QVBoxLayout;
    auto *lists = new QVBoxLayout;
    auto *login = new QVBoxLayout;
    columns->addLayout(combos);
    columns->addLayout(lists);
    columns->addLayout(login, 1);

    // Each picker starts on a value other than its first, where the user's
    // range has one, so that the pictures show a choice.
    auto *level = new MacLevelComboBox(uid, this);
    level->setValue(level->allValues().value(2, level->value()));
    const std::function<QString()> describeLevel = [this, level] {
        return tr("%1 (level %2)").arg(m_words.level(level->value())).arg(level->value());
    };
    follow(level, &MacLevelComboBox::valueChanged,
           addPart(combos, QStringLiteral("maclevelcombobox"), QStringLiteral("MacLevelComboBox"), level, describeLevel),
           describeLevel);

    auto *integrity = new ILevelComboBox(uid, this);
    const std::function<QString()> describeIntegrity = [integrity] {
        return tr("%1 (integrity level %2)").arg(integrity->currentText()).arg(integrity->value());
    };
    follow(integrity, &ILevelComboBox::valueChanged,
           addPart(combos, QStringLiteral("ilevelcombobox"), QStringLiteral("ILevelComboBox"), integrity,
                   describeIntegrity),
           describeIntegrity);

    auto *category = new MacCategoryComboBox(this);
    category->setUid(uid);
    category->setCurrentIndex(qMin(2, category->count() - 1));
    const std::function<QString()> describeCategory = [this, category] {
        return tr("%1 (mask %2)").arg(m_words.categories(category->value()), LabelWords::hex(category->value()));
    };
    follow(category, &MacCategoryComboBox::valueChanged,
           addPart(combos, QStringLiteral("maccategorycombobox"), QStringLiteral("MacCategoryComboBox"), category,
                   describeCategory),
           describeCategory);

    auto *type = new MacTypeComboBox(this);
    const std::function<QString()> describeType = [type] {
        return tr("%1 (type %2)").arg(type->currentText(), LabelWords::hex(type->value()));
    };
    // The type picker has no value signal of its own.
    follow(type, qOverload<int>(&QComboBox::currentIndexChanged),
           addPart(combos, QStringLiteral("mactypecombobox"), QStringLiteral("MacTypeComboBox"), type, describeType),
           describeType);
    combos->addStretch(1);

    auto *categories = new MacCategoryListWidget(uid, this);
    categories->setValue(categories->cat4Item(0) | categories->cat4Item(2));
    categories->setMinimumHeight(categories->sizeHintForRow(0) * 6 + 2 * categories->frameWidth());
    // Wide enough for a few category names on one line.
    categories->setMinimumWidth(300);
    // A filter above the list, for policies with many categories.
    auto *filtered = new QWidget(this);
    auto *filteredLayout = new QVBoxLayout(filtered);
    filteredLayout->setContentsMargins(0, 0, 0, 0);
    auto *filter = new MacCategoryFilterEdit(filtered);
    filter->setCategoryList(categories);
    filteredLayout->addWidget(filter);
    filteredLayout->addWidget(categories);
    // The keyboard meets the filter before the list it narrows.
    QWidget::setTabOrder(filter, categories);
    const std::function<QString()> describeList = [this, categories] { return describeSet(categories->value()); };
    follow(categories, &MacCategoryListWidget::valueChanged,
           addPart(lists, QStringLiteral("maccategorylistwidget"),
                   QStringLiteral("MacCategoryListWidget with a MacCategoryFilterEdit"), filtered, describeList),
           describeList);

    auto *popupCategories = new MacCategoryWidget(this);
    popupCategories->setUid(uid);
    popupCategories->setValue(categories->cat4Item(1) | categories->cat4Item(3));
    const std::function<QString()> describePopup = [this, popupCategories] {
        return describeSet(popupCategories->value());
    };
    follow(popupCategories, &MacCategoryWidget::valueChanged,
           addPart(lists, QStringLiteral("maccategorywidget"), QStringLiteral("MacCategoryWidget"), popupCategories,
                   describePopup),
           describePopup);

    // The button keeps its checklist to itself; the gallery finds it among
    // the button's children to follow it.
    auto *buttonCategories = new MacCategoryPushButton(this);
    auto *buttonList = buttonCategories->findChild<MacCategoryListWidget *>();
    if (buttonList) {
        buttonList->setUid(uid);
        buttonList->setValue(buttonList->cat4Item(4));
    }
    const std::function<QString()> describeButton = [this, buttonList] {
        return buttonList ? describeSet(buttonList->value()) : tr("(no checklist)");
    };
    follow(buttonList, &MacCategoryListWidget::valueChanged,
           addPart(lists, QStringLiteral("maccategorypushbutton"), QStringLiteral("MacCategoryPushButton"),
                   buttonCategories, describeButton),
           describeButton);
    lists->addStretch(1);

    auto *loginWidget = new LoginMacLabelWidget(uid, this, true);
    // Room for the form's checklist, which it would otherwise squeeze.
    loginWidget->setMinimumHeight(loginWidget->sizeHint().height());
    auto *loginLevel = loginWidget->findChild<MacLevelComboBox *>();
    auto *loginIntegrity = loginWidget->findChild<ILevelComboBox *>();
    auto *loginCategories = loginWidget->findChild<MacCategoryListWidget *>();
    const std::function<QString()> describeLogin = [this, loginWidget, loginIntegrity] {
        const QString integrityName = loginIntegrity && loginIntegrity->value() == loginWidget->integrity()
            ? loginIntegrity->currentText()
            : QString::number(loginWidget->integrity());
        return tr("%1; %2; integrity %3\nlabel text %4")
            .arg(m_words.level(loginWidget->level()), m_words.categories(loginWidget->categories()),
                 integrityName, labelText(loginWidget));
    };
    // The widget announces nothing itself; its pickers do.
    QLabel *loginValue = addPart(login, QStringLiteral("loginmaclabelwidget"), QStringLiteral("LoginMacLabelWidget"),
                                 loginWidget, describeLogin);
    follow(loginLevel, &MacLevelComboBox::valueChanged, loginValue, describeLogin);
    follow(loginIntegrity, &ILevelComboBox::valueChanged, loginValue, describeLogin);
    follow(loginCategories, &MacCategoryListWidget::valueChanged, loginValue, describeLogin);

    auto *away = new QGroupBox(tr("One button away"), this);
    m_loginText->setObjectName(QStringLiteral("acceptedLabelText"));
    auto *buttons = new QHBoxLayout;
    auto *plain = new QPushButton(tr("Login dialog..."), away);
    auto *themed = new QPushButton(tr("Themed login dialog..."), away);
    auto *file = new QPushButton(tr("File label..."), away);
    connect(plain, &QPushButton::clicked, this, [this] { chooseLogin(false); });
    connect(themed, &QPushButton::clicked, this, [this] { chooseLogin(true); });
    connect(file, &QPushButton::clicked, this, &GalleryWindow::showFileLabel);
    buttons->addWidget(plain);
    buttons->addWidget(themed);
    buttons->addWidget(file);
    buttons->addStretch(1);
    auto *form = new QFormLayout(away);
    form->addRow(buttons);
    form->addRow(tr("Label text:"), m_loginText);
    form->addRow(tr("Arguments:"), m_loginArguments);
    form->addRow(tr("Command:"), m_loginCommand);
    login->addWidget(away);
    login->addStretch(1);

    // The whole gallery at its own size where the screen has room for it,
    // scrolled where it has not (a small screen, or a large scale factor).
    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("galleryScrollArea"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    // The keyboard scrolls the area by moving among its fields; as a tab
    // stop of its own it would hold the focus invisibly.
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setWidget(m_content);
    auto *window = new QVBoxLayout(this);
    window->setContentsMargins(0, 0, 0, 0);
    window->addWidget(scroll);
    QSize wanted = m_content->sizeHint();
    if (const QScreen *shown = screen()) {
        // Room for the window's frame and title, which the screen's
        // available area does not yet count.
        const QSize available = shown->availableGeometry().size() * 9 / 10;
        const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        if (wanted.width() > available.width())
            wanted.rheight() += bar;
        if (wanted.height() > available.height())
            wanted.rwidth() += bar;
        wanted = wanted.boundedTo(available);
    }
    resize(wanted);
}

GalleryWindow::~GalleryWindow() = default;

void GalleryWindow::chooseLogin(bool themed)
{
    LoginMacLabelDialog dialog(m_uid, themed, nullptr);
    if (dialog.exec() != QDialog::Accepted)
        return;

    char *text = dialog.malloc_mac_label_text();
    m_loginText->setText(text ? QString::fromLocal8Bit(text) : tr("(no label)"));
    std::free(text);
    // The dialog gives the label only; the lists come from its widget.
    if (const auto *widget = dialog.findChild<LoginMacLabelWidget *>()) {
        m_loginArguments->setText(quoted(widget->getVexorArguments()));
        m_loginCommand->setText(widget->getVexorCommand().join(QLatin1Char(' ')));
    }
}

void GalleryWindow::showFileLabel()
{
    m_filePanel->show();
    m_filePanel->raise();
    m_filePanel->activateWindow();
}
