// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNELQT5_SPECIALATTRIBUTESLISTMODEL_H
#define VARNELQT5_SPECIALATTRIBUTESLISTMODEL_H

#include "varnelmac_export.h"

#include <QAbstractListModel>
#include <QByteArray>

namespace VarnelQt5 {

/**
 * The special attributes of a file's or a directory's label as a checkable
 * list.
 *
 * A directory shows the rows "ccnr", "ccnri (deprecated)" and "irelax"; a
 * file shows "ehole", "whole" and "silev". A fourth row, showing the value in
 * hexadecimal, stands for all type bits without a name while there are any
 * (setOtherAttribute()). Each row has a tool tip that explains its
 * attribute. Each attribute keeps its check and enabled flags while its row
 * is not shown.
 *
 * \code
 * auto *attributes = new VarnelQt5::SpecialAttributesListModel(this);
 * attributes->setForContainer(QFileInfo(path).isDir());
 * attributes->setCheckState(VarnelQt5::SpecialAttributesListModel::Ccnr, Qt::Checked);
 * listView->setModel(attributes);
 * connect(attributes, &VarnelQt5::SpecialAttributesListModel::attributeChanged,
 *         this, &Editor::attributeChanged);
 * \endcode
 */
class VARNELMAC_EXPORT SpecialAttributesListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    /** The special attributes; a value also indexes the attribute's flags. */
    enum Attributes {
        Ccnr = 0,           ///< A directory holds objects of labels up to its own.
        Ccnri = 1,          ///< A directory holds objects of integrity levels up to its own (deprecated).
        Ehole = 2,          ///< A file takes writes at the lowest label from higher subjects.
        Whole = 3,          ///< A file takes writes at the highest label from lower subjects.
        Silev = 4,          ///< A program file gives its process the file's integrity level.
        Irelax = 5,         ///< A directory can be written by processes of any integrity level.
        OtherAttributes = 6 ///< All type bits without a name of their own.
    };
    Q_ENUM(Attributes)

    /** A model of a file's attributes, all unchecked and enabled, without the fourth row. */
    explicit SpecialAttributesListModel(QObject *parent = nullptr);
    ~SpecialAttributesListModel() override;

    /** Three rows, or four while there are type bits without a name; none under a valid parent. */
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    /**
     * The attribute a row shows. Row 3 gives OtherAttributes even while that
     * row does not exist; -1 for any row beyond 3.
     */
    int attributeForRow(int row) const;
    /** The row of \a attribute; -1 for an attribute without a row in the current mode. */
    int rowForAttribute(int attribute) const;

    /** The name (Qt::DisplayRole), explanation (Qt::ToolTipRole) and check state of a row. */
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    /**
     * Qt::CheckStateRole sets the check flag (anything but Qt::Checked
     * unchecks), Qt::UserRole the enabled flag; false when nothing changes.
     * A change emits dataChanged() and attributeChanged().
     */
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    /** Checkable, never editable; enabled while the attribute's enabled flag is set. */
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    /** Whether the rows are those of a directory. */
    bool isForContainer() const;
    /** true: the rows of a directory; false: those of a file. The row count stays. */
    void setForContainer(bool container);

    /** The type bits without a name; 0 while there is no fourth row. */
    int otherAttribute() const;
    /**
     * 0 removes the fourth row; a value other than 0 adds it or updates it.
     * False when \a value is already stored.
     */
    bool setOtherAttribute(int value);

    /** The check state of \a attribute; Qt::Unchecked for an attribute whose row is not shown. */
    Qt::CheckState checkState(Attributes attribute) const;
    /** Sets the check flag of \a attribute's row, as setData(); false without a row or a change. */
    bool setCheckState(Attributes attribute, Qt::CheckState state);
    /** Sets the enabled flag of \a attribute's row, as setData(); false without a row or a change. */
    bool setEnabled(Attributes attribute, bool enable);

Q_SIGNALS:
    /**
     * The check or enabled flag of \a attribute changed, through setData()
     * (a person ticking a row in a view, setCheckState() or setEnabled()), or
     * setOtherAttribute() changed the unnamed bits from one non-zero value to
     * another (with OtherAttributes). Adding or removing the fourth row and
     * setForContainer() do not emit it.
     *
     * Hosts connect by the normalised signature attributeChanged(Attributes).
     */
    void attributeChanged(Attributes attribute); // clazy:exclude=fully-qualified-moc-types

private:
    Q_DISABLE_COPY(SpecialAttributesListModel)

    QByteArray checked;
    QByteArray enabled;
    int other;
    bool forContainer;
};

} // namespace VarnelQt5

#endif
