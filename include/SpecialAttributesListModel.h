#ifndef VARNELQT5_SPECIALATTRIBUTESLISTMODEL_H
#define VARNELQT5_SPECIALATTRIBUTESLISTMODEL_H

#include "varnelmacqt5_export.h"

#include <QAbstractListModel>
#include <QByteArray>

namespace VarnelQt5 {

// The special attributes of a file's or a directory's label as a checkable
// list: three rows for the kind of object, plus a fourth that stands for all
// type bits without a name while there are any. Each attribute keeps its
// check and enabled flags while its row is not shown.
class VARNELMACQT5_EXPORT SpecialAttributesListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    // Values index the per-attribute flags.
    enum Attributes {
        Ccnr = 0,
        Ccnri = 1,
        Ehole = 2,
        Whole = 3,
        Silev = 4,
        Irelax = 5,
        OtherAttributes = 6
    };
    Q_ENUM(Attributes)

    explicit SpecialAttributesListModel(QObject *parent = nullptr);
    ~SpecialAttributesListModel() override;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    // Row 3 gives OtherAttributes even while that row does not exist; -1 for
    // any row beyond 3.
    int attributeForRow(int row) const;
    // -1 for an attribute without a row in the current mode.
    int rowForAttribute(int attribute) const;

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    // Qt::CheckStateRole sets the check flag (anything but Qt::Checked
    // unchecks), Qt::UserRole the enabled flag; false when nothing changes.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    bool isForContainer() const;
    // true: the rows of a directory; false: those of a file.
    void setForContainer(bool container);

    int otherAttribute() const;
    // 0 removes the fourth row; a value other than 0 adds or updates it.
    bool setOtherAttribute(int value);

    // Qt::Unchecked for an attribute whose row is not shown.
    Qt::CheckState checkState(Attributes attribute) const;
    bool setCheckState(Attributes attribute, Qt::CheckState state);
    bool setEnabled(Attributes attribute, bool enable);

Q_SIGNALS:
    // Hosts connect by the normalised signature attributeChanged(Attributes).
    void attributeChanged(Attributes attribute);

private:
    Q_DISABLE_COPY(SpecialAttributesListModel)

    QByteArray checked;
    QByteArray enabled;
    int other;
    bool forContainer;
};

} // namespace VarnelQt5

#endif
