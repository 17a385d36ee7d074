#ifndef VARNELQT5_FILEMACLABELWIDGET_H
#define VARNELQT5_FILEMACLABELWIDGET_H

#include "varnelmacqt5_export.h"

#include <QWidget>

// A label handle of the platform's label library.
struct tav_label;

namespace VarnelQt5 {

struct FileMacLabelWidgetForm;
class SpecialAttributesListModel;

// Shows the MAC label of one file or directory and lets a person change its
// level, integrity level, categories and special attributes. Every edit, and
// every load, emits changed().
class VARNELMACQT5_EXPORT FileMacLabelWidget : public QWidget
{
    Q_OBJECT

public:
    explicit FileMacLabelWidget(QWidget *parent = nullptr);
    ~FileMacLabelWidget() override;

    // Loads the label of the object at path; a path without a readable label
    // changes nothing.
    void getfmac(const QString &path);
    // Writes the form's label, special attributes included, to the object at
    // path; false, with nothing written, when that fails.
    bool chmac(const QString &path);
    // A new label handle with the form's level, integrity level and
    // categories and no type bits, or null. The caller releases it with
    // tavl_put.
    tav_label *currentLabelWithoutFlags() const;

Q_SIGNALS:
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
