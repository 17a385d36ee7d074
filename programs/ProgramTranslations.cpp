// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "ProgramTranslations.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QTabBar>
#include <QTranslator>
#include <QWidget>

#include <cstdio>

namespace {

const QString libraryCatalogue = QStringLiteral(VARNEL_CATALOGUE);

// Where the project's catalogues are, seen from the program: the build
// tree's translations folder, then the installation prefix's.
QStringList catalogueFolders()
{
    const QDir programFolder(QCoreApplication::applicationDirPath());
    return {QDir::cleanPath(programFolder.absoluteFilePath(QStringLiteral(VARNEL_BUILD_CATALOGUE_DIR))),
            QDir::cleanPath(programFolder.absoluteFilePath(QStringLiteral(VARNEL_INSTALLED_CATALOGUE_DIR)))};
}

// The library installs its translator, when its catalogue loads, as a child
// of the application while the application is built.
bool libraryCatalogueLoaded()
{
    const QList<QTranslator *> translators =
        QCoreApplication::instance()->findChildren<QTranslator *>(QString(), Qt::FindDirectChildrenOnly);
    for (const QTranslator *translator : translators) {
        if (QFileInfo(translator->filePath()).fileName().startsWith(libraryCatalogue + QLatin1Char('_')))
            return true;
    }
    return false;
}

// Installs the catalogue name for the locale from the first folder that has
// one.
void load(const QString &name, const QStringList &folders)
{
    auto *translator = new QTranslator(QCoreApplication::instance());
    for (const QString &folder : folders) {
        if (translator->load(QLocale::system(), name, QStringLiteral("_"), folder)) {
            QCoreApplication::installTranslator(translator);
            return;
        }
    }
    delete translator;
}

// A window's title as the title bar shows it: the placeholder for unsaved
// changes becomes their mark or nothing.
QString shownTitle(const QWidget &window)
{
    QString title = window.windowTitle();
    return title.replace(QLatin1String("[*]"), window.isWindowModified() ? QStringLiteral("*") : QString());
}

} // namespace

namespace ProgramTranslations {

void install()
{
    const QStringList folders = catalogueFolders();
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    load(QStringLiteral("qtbase"), {QLibraryInfo::path(QLibraryInfo::TranslationsPath)});
#else
    load(QStringLiteral("qtbase"), {QLibraryInfo::location(QLibraryInfo::TranslationsPath)});
#endif
    if (!libraryCatalogueLoaded())
        load(libraryCatalogue, folders);
    load(QStringLiteral("varnel-programs"), folders);
}

int printTexts(const QWidget &window)
{
    QStringList texts{shownTitle(window)};
    for (const QWidget *widget : window.findChildren<QWidget *>()) {
        if (widget->isWindow())
            texts.append(shownTitle(*widget));
        else if (!widget->isVisibleTo(widget->window()))
            continue;
        if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
            texts.append(button->text());
        else if (const auto *label = qobject_cast<const QLabel *>(widget))
            texts.append(label->text());
        else if (const auto *box = qobject_cast<const QGroupBox *>(widget))
            texts.append(box->title());
        else if (const auto *tabs = qobject_cast<const QTabBar *>(widget)) {
            for (int tab = 0; tab < tabs->count(); ++tab)
                texts.append(tabs->tabText(tab));
        }
    }
    texts.removeAll(QString());
    const QByteArray out = texts.join(QLatin1Char('\n')).toUtf8() + '\n';
    return std::fwrite(out.constData(), 1, size_t(out.size()), stdout) == size_t(out.size()) && std::fflush(stdout) == 0
        ? 0
        : 1;
}

} // namespace ProgramTranslations
