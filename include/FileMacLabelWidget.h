// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNELQT5_FILEMACLABELWIDGET_H
#define VARNELQT5_FILEMACLABELWIDGET_H

#include "varnelmacqt5_export.h"

#include <QWidget>

// A label handle of the platform's label library.
struct tav_label;

namespace VarnelQt5 {

struct FileMacLabelWidgetForm;
class SpecialAttributesListModel;

/**
 * Shows the MAC label of one file or directory and lets a person change its
 * level, integrity level, categories and special attributes.
 *
 * Under the special attributes a line explains the current one, as its
 * tool tip and its accessible description do, for a person who works with
 * the keyboard alone.
 *
 * getfmac() loads a label, chmac() writes the form's label. Checking "ehole"
 * sets level, integrity level and categories to 0; checking "whole" copies
 * them from the label of "/"; after either, and after every change of level,
 * integrity level or categories, a file whose label does not support "ehole"
 * or "whole" has the attribute unchecked again. These reactions follow a
 * person's edits and a host's calls on the pickers and the attributes model,
 * never getfmac() itself: a load shows the stored label as it is, and chmac()
 * right after it writes back exactly what the object held.
 *
 * \pic_filemaclabelwidget
 *
 * \code
 * auto *label = new VarnelQt5::FileMacLabelWidget(this);
 * label->getfmac(path);
 * connect(label, &VarnelQt5::FileMacLabelWidget::changed,
 *         this, [this] { applyButton->setEnabled(true); });
 * connect(applyButton, &QPushButton::clicked, this, [label, path] {
 *     if (!label->chmac(path))
 *         qWarning() << "cannot label" << path;
 * });
 * \endcode
 */
class VARNELMACQT5_EXPORT FileMacLabelWidget : public QWidget
{
    Q_OBJECT

public:
    /** An empty form; getfmac() fills it. */
    explicit FileMacLabelWidget(QWidget *parent = nullptr);
    ~FileMacLabelWidget() override;

    /**
     * Loads the label of the object at \a path into the form as it is
     * stored, whatever was loaded before, and emits changed() once at the
     * end. Special attributes the label cannot carry ("ehole" with a level,
     * say) stay checked and the values stay as stored; attributes of the
     * other kind of object have no row and are not shown.
     *
     * A path without a readable label, one containing a NUL character and
     * one the local 8-bit encoding cannot carry exactly change nothing and
     * emit nothing.
     */
    void getfmac(const QString &path);
    /**
     * Writes the form's label, special attributes included, to the object at
     * \a path; true on success. Emits nothing.
     *
     * The object's own label is the base: the form sets level, integrity
     * level, categories and the type bits its rows show, and the rest is
     * kept as the object holds it (the type's high 16 bits, the attributes of
     * the other kind of object, the value of a level or integrity picker left
     * empty). An object without a readable label gets a new label, unless a
     * picker is empty: then nothing is written.
     *
     * False, with nothing written, when the label library refuses, when
     * \a path contains a NUL character or cannot be carried exactly by the
     * local 8-bit encoding, when the object is a directory and the form holds
     * a file's label or the other way round (load it again first), and when
     * "ehole" or "whole" is checked and the label written cannot carry it,
     * unless the object already holds that attribute with the same level,
     * integrity level and categories.
     */
    bool chmac(const QString &path);
    /**
     * A new label handle with the form's level, integrity level and
     * categories and no type bits, or null. The caller releases it with
     * tavl_put.
     */
    tav_label *currentLabelWithoutFlags() const;

Q_SIGNALS:
    /**
     * The form's label changed. Emitted when a person picks a level or an
     * integrity level, checks or unchecks a category or a special attribute
     * (also when the widget itself unchecks an unsupported attribute, before
     * the change that caused it is announced), and once at the end of every
     * getfmac() that read a label.
     */
    void changed();

private:
    Q_DISABLE_COPY(FileMacLabelWidget)

    void reactToAttribute(int attribute);
    void checkTypeSupport();

    FileMacLabelWidgetForm *form;
    SpecialAttributesListModel *model;
};

} // namespace VarnelQt5

#endif
