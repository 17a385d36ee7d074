// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNELQT5_MACTYPECOMBOBOX_H
#define VARNELQT5_MACTYPECOMBOBOX_H

#include "varnelmac_export.h"

#include <QComboBox>
#include <QList>

namespace VarnelQt5 {

/**
 * A combo box of label types.
 *
 * It starts with four entries: the plain type 0x10000, shown as "None", and
 * the types 0x1002D, 0x1003F and 0x10012; setValue() appends any other type.
 * Each entry's data (Qt::UserRole) is the type value and its text the label
 * services' name for the type. It has no signal of its own: QComboBox's
 * signals report a change of entry.
 *
 * \pic_mactypecombobox
 *
 * \code
 * auto *type = new VarnelQt5::MacTypeComboBox(this);
 * type->setValue(labelType);
 * connect(type, qOverload<int>(&QComboBox::currentIndexChanged),
 *         this, [type] { qDebug() << Qt::hex << type->value(); });
 * \endcode
 */
class VARNELMAC_EXPORT MacTypeComboBox : public QComboBox
{
    Q_OBJECT

public:
    /** A combo box with the four standard types, the plain one current. */
    explicit MacTypeComboBox(QWidget *parent = nullptr);
    ~MacTypeComboBox() override;

    /** Selects the entry of \a type, appending one first when none carries it. */
    void setValue(unsigned int type);
    /** The type of the current entry; 0 when there is none. */
    unsigned int value();

private:
    Q_DISABLE_COPY(MacTypeComboBox)

    QList<unsigned int> types;
};

} // namespace VarnelQt5

#endif
