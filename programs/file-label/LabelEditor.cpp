// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "LabelEditor.h"

#include "LabelLibrary.h"
#include "PathReason.h"

#include <FileLabelRules_p.h>
#include <FileMacLabelWidget.h>
#include <ILevelComboBox.h>
#include <MacCategoryListWidget.h>
#include <MacLevelComboBox.h>
#include <SpecialAttributesListModel.h>

#include <cerrno>
#include <memory>

using VarnelQt5::FileMacLabelWidget;
using VarnelQt5::ILevelComboBox;
using VarnelQt5::MacCategoryListWidget;
using VarnelQt5::MacLevelComboBox;
using VarnelQt5::SpecialAttributesListModel;
namespace FileLabelRules = VarnelQt5::FileLabelRules;

LabelEditor::LabelEditor(FileMacLabelWidget *widget)
    : widget(widget)
    , level(widget->findChild<MacLevelComboBox *>(QStringLiteral("_levelComboBox")))
    , integrity(widget->findChild<ILevelComboBox *>(QStringLiteral("_integrityComboBox")))
    , categories(widget->findChild<MacCategoryListWidget *>(QStringLiteral("_categoryListWidget")))
    , attributes(widget->findChild<SpecialAttributesListModel *>())
{
    Q_ASSERT(level && integrity && categories && attributes);
}

bool LabelEditor::stored(const QString &path, FileLabel *label, QString *reason)
{
    errno = 0;
    const LabelHandle held = labelHandle(tav_get_path(path.toLocal8Bit().constData()));
    if (!held) {
        const int error = errno;
        *reason = PathReason::unreadable(path.toLocal8Bit().constData(), error).text();
        return false;
    }
    *label = FileLabel(VarnelQt5::FileLabelRules::LabelParts::of(held.get()));
    return true;
}

bool LabelEditor::load(const QString &path, QString *reason)
{
    // A load that reads a label announces itself; one that fails is silent.
    const auto loaded = std::make_shared<bool>(false);
    const QMetaObject::Connection heard =
        QObject::connect(widget, &FileMacLabelWidget::changed, [loaded] { *loaded = true; });
    widget->getfmac(path);
    QObject::disconnect(heard);
    // Read once more for the system's reason, which the form does not keep.
    FileLabel ignored;
    if (!*loaded && stored(path, &ignored, reason))
        *reason = PathReason(PathReason::LabelUnreadable).text();
    return *loaded;
}

bool LabelEditor::read(FileLabel *label, QString *reason) const
{
    // An empty picker shows 0 whatever the object's value is.
    if (level->count() == 0) {
        *reason = tr("the level list is empty, so the level cannot be shown");
        return false;
    }
    if (integrity->count() == 0) {
        *reason = tr("the integrity list is empty, so the integrity level cannot be shown");
        return false;
    }
    *label = shown();
    return true;
}

FileLabel LabelEditor::shown() const
{
    FileLabel label;
    label.level = level->value();
    label.ilevel = integrity->value();
    label.categories = categories->value();
    label.type = type();
    return label;
}

bool LabelEditor::showsStored(const QString &path, QString *difference) const
{
    FileLabel held;
    FileLabel shown;
    if (!stored(path, &held, difference) || !read(&shown, difference))
        return false;
    if (held == shown)
        return true;
    *difference = tr("the object holds %1, the form shows %2").arg(held.text(), shown.text());
    return false;
}

bool LabelEditor::set(const FileLabel &label, bool withType, QString *reason)
{
    FileLabel wanted = label;
    if (withType)
        setType(label.type);
    else
        wanted.type = type();

    // Only what the pickers offer is set: a value they lack would be left
    // unselected or inserted under a made-up name.
    if (level->count() == 0 || !level->allValues().contains(label.level)) {
        *reason = tr("level %1 is not in the level list").arg(uint(label.level));
        return false;
    }
    level->setValue(label.level);

    // Between 0 and the system's maximum every integrity level exists, though
    // the list names only the two ends.
    if (integrity->count() == 0) {
        *reason = tr("the integrity list is empty");
        return false;
    }
    if (label.ilevel > integrity->maximumValue()) {
        *reason = tr("integrity level %1 is above the system's maximum, %2")
                      .arg(label.ilevel)
                      .arg(integrity->maximumValue());
        return false;
    }
    integrity->setValue(label.ilevel, true);

    mac_cat_t listed = 0;
    for (int row = 0; row < categories->count(); ++row)
        listed |= categories->cat4Item(row);
    if (label.categories & ~listed) {
        *reason = tr("categories 0x%1 are not in the category list")
                      .arg(qulonglong(label.categories & ~listed), 0, 16);
        return false;
    }
    categories->setValue(label.categories);

    // The widget drops a special attribute the label cannot carry, or one
    // that does not apply to this kind of object.
    FileLabel held;
    if (!read(&held, reason))
        return false;
    if (held.type != wanted.type) {
        *reason = tr("special attributes 0x%1 do not go with the label %2 on this %3")
                      .arg(wanted.type & ~held.type, 0, 16)
                      .arg(wanted.text(),
                           attributes->isForContainer() ? tr("directory") : tr("file"));
        return false;
    }
    if (!(held == wanted)) {
        *reason = tr("the form holds %1 instead").arg(held.text());
        return false;
    }
    return true;
}

bool LabelEditor::write(const QString &path, QString *reason)
{
    errno = 0;
    if (widget->chmac(path))
        return true;
    const int error = errno;
    *reason = PathReason::unwritten(path.toLocal8Bit().constData(), error).text();
    return false;
}

uint16_t LabelEditor::type() const
{
    return FileLabelRules::typeOf(*attributes);
}

void LabelEditor::setType(uint16_t bits)
{
    FileLabelRules::showType(*attributes, bits);
}
