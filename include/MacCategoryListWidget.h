#ifndef VARNELQT5_MACCATEGORYLISTWIDGET_H
#define VARNELQT5_MACCATEGORYLISTWIDGET_H

#include "VarnelMacTypes.h"
#include "varnelmacqt5_export.h"

#include <QListWidget>

namespace VarnelQt5 {

// A checklist of the MAC categories a user may use, within optional
// caller-given bounds. Each row's data (Qt::UserRole) is its category mask;
// categories the bounds force on are checked and cannot be unchecked.
class VARNELMACQT5_EXPORT MacCategoryListWidget : public QListWidget
{
    Q_OBJECT

public:
    explicit MacCategoryListWidget(QWidget *parent = nullptr);
    explicit MacCategoryListWidget(uid_t uid, QWidget *parent = nullptr);
    ~MacCategoryListWidget() override;

    // Refills the list from the category database within the bounds and
    // restores the earlier set as far as the bounds allow; false when the
    // sources cannot be read or MAC is off.
    bool rebuild();

    // The set of all checked rows.
    mac_cat_t value();
    mac_cat_t minimumValue();
    mac_cat_t maximumValue();
    bool isValid();
    bool isSuitable();
    bool isRebuilt() const;
    bool hasAvailableCategories();

    // v, or the full set for the empty set.
    mac_cat_t nullToMax(mac_cat_t v);
    // The mask of a row; 0 for no row.
    mac_cat_t cat4Item(const QListWidgetItem *item);
    mac_cat_t cat4Item(int row);
    // The row before which a mask keeps the list ascending.
    int position(mac_cat_t m);

public Q_SLOTS:
    bool setUid(uid_t uid);
    bool setMinimumValue(mac_cat_t value);
    bool setMaximumValue(mac_cat_t value);
    // Checks exactly the rows whose categories lie in value; false (and
    // nothing changed) when value leaves the user's range.
    bool setValue(mac_cat_t value);

Q_SIGNALS:
    void valueChanged(mac_cat_t value);

private Q_SLOTS:
    void itemChanged(QListWidgetItem *item);

private:
    Q_DISABLE_COPY(MacCategoryListWidget)

    mac_cat_t minimum;
    mac_cat_t maximum;
    bool useUserRange;
    uid_t uid;
    mac_cat_t userMinimum;
    mac_cat_t userMaximum;
    bool valid;
    bool suitable;
    bool rebuilt;
};

} // namespace VarnelQt5

#endif
