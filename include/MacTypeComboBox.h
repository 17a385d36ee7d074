#ifndef VARNELQT5_MACTYPECOMBOBOX_H
#define VARNELQT5_MACTYPECOMBOBOX_H

#include "varnelmacqt5_export.h"

#include <QComboBox>
#include <QList>

namespace VarnelQt5 {

// A combo box of label types. Each entry's data (Qt::UserRole) is the type
// value and its text the label services' name for the type.
class VARNELMACQT5_EXPORT MacTypeComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit MacTypeComboBox(QWidget *parent = nullptr);
    ~MacTypeComboBox() override;

    // Selects the entry of type, appending one first when none carries it.
    void setValue(unsigned int type);
    // The type of the current entry; 0 when there is none.
    unsigned int value();

private:
    Q_DISABLE_COPY(MacTypeComboBox)

    QList<unsigned int> types;
};

} // namespace VarnelQt5

#endif
