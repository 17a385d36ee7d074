// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNELQT5_FILEMACLABELWIDGET_H
#define VARNELQT5_FILEMACLABELWIDGET_H

#include "varnelmac_export.h"

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
 * right after it writes back exactly what the object held. What a reaction
 * changed is said in a line under the special attributes and by
 * reactionMessageChanged(); unchecking "ehole" or "whole" right after
 * checking it gives back the values the check replaced. Enabling or
 * disabling an attribute's row is no edit.
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
class VARNELMAC_EXPORT FileMacLabelWidget : public QWidget
{
    Q_OBJECT

public:
    /** Why the last chmac() wrote nothing; see lastWriteFailure(). */
    enum WriteFailure {
        /** The last chmac() wrote the label, or there was none. */
        NoWriteFailure,
        /** Refused for any reason not named below: the label library, the path, the kind of object, a hole. */
        WriteRefused,
        /**
         * The object is the one getfmac() read, but its label is no longer
         * the one read then or last written by chmac(), or another object
         * now has its path: another writer changed it, and getfmac() shows
         * the new label.
         */
        LabelChangedSinceRead,
        /** The last getfmac() read no label, so the form holds no object's label. */
        NoLabelLoaded
    };

    /** An empty form; getfmac() fills it. */
    explicit FileMacLabelWidget(QWidget *parent = nullptr);
    ~FileMacLabelWidget() override;

    /**
     * Loads the label of the object at \a path into the form as it is
     * stored, whatever was loaded before, and emits changed() once at the
     * end; the pickers are set with their own signals blocked, and a message
     * of an earlier reaction goes with reactionMessageChanged(). Special
     * attributes the label cannot carry ("ehole" with a level, say) stay
     * checked and the values stay as stored; attributes of the other kind
     * of object have no row and are not shown.
     *
     * A path without a readable label, one containing a NUL character and
     * one the local 8-bit encoding cannot carry exactly change none of the
     * form's values and emit nothing, but the form then holds no object's
     * label: chmac() writes nothing until a later getfmac() succeeds.
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
     *
     * No label is overwritten unseen. Written to the object the last
     * getfmac() read (by the same path, or by another path or hard link to
     * that object), the form is written only while the object still holds
     * the label getfmac() read or the last chmac() wrote there: the label is
     * read again just before the write, and a label changed by another
     * writer, or another object put at the path, makes chmac() write nothing
     * and return false, with lastWriteFailure() LabelChangedSinceRead; the
     * form keeps its edits. The platform offers no atomic compare and write,
     * so a change that falls between that last read and the write (a few
     * calls, no waiting) is not seen. Writing onto another object, to copy a
     * label, is not checked. After a getfmac() that failed, chmac() writes
     * nothing (NoLabelLoaded); a host that never called getfmac() writes as
     * before.
     */
    bool chmac(const QString &path);
    /** Why the last chmac() wrote nothing; NoWriteFailure after one that wrote. */
    WriteFailure lastWriteFailure() const;
    /**
     * What the form last changed on its own, in one line for a person, or
     * empty: see reactionMessageChanged(). The form shows it under the
     * special attributes.
     */
    QString reactionMessage() const;
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
    /**
     * The form changed values on its own after an edit, and says so in
     * \a message with names, not numbers: checking "ehole" or "whole"
     * rewrote level, integrity level and categories, unchecking it right
     * after (no other edit between) gave back the values it replaced, or an
     * "ehole" or "whole" the label cannot carry was unchecked. Emitted with
     * an empty message when an edit, getfmac() or a write leaves nothing to
     * tell.
     */
    void reactionMessageChanged(const QString &message);

private:
    Q_DISABLE_COPY(FileMacLabelWidget)

    void reactToAttribute(int attribute);
    void checkTypeSupport();

    FileMacLabelWidgetForm *form;
    SpecialAttributesListModel *model;
};

} // namespace VarnelQt5

#endif
