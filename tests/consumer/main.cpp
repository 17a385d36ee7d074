// Shows a level picker on the stand-in's built-in policy and checks that it
// offers every level and gives back what it took from the platform.

#include <MacLevelComboBox.h>
#include <varnel-standin.h>

#include <QApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    VarnelQt5::MacLevelComboBox picker(nullptr);
    picker.setUid(0);
    const QList<mac_lev_t> levels = picker.allValues();
    std::printf("levels offered: %d\n", int(levels.size()));
    return levels.size() == 4 && varnel_standin_live() == 0 ? 0 : 1;
}
