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
 * getfmac() loads a label, chmac() writes the form's label. Checking "ehole"
 * sets level, integrity level and categories to 0; checking "whole" copies
 * them from the label of "/"; a file whose label does not support "ehole" or
 * "whole" has the attribute unchecked again.
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
     * Loads the label of the object at \a path into the form, emitting
     * changed() once at the end; a path without a readable label changes
     * nothing and emits nothing.
     */
    void getfmac(const QString &path);
    /**
     * Writes the form's label, special attributes included, to the object at
     * \a path; false, with nothing written, when that fails. A level or
     * integrity picker left empty keeps the object's own value. Emits nothing.
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
     * (also when the widget itself unchecks an unsupported attribute), and
     * once at the end of every getfmac() that read a label.
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
