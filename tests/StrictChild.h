// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_TESTS_STRICTCHILD_H
#define VARNEL_TESTS_STRICTCHILD_H

#include "StandinPolicy.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>

// The library reads strict mode once, as it loads: a test of strict mode
// runs its own test function again in a child process whose policy has it
// on (written here into policy), with marker set so that the function
// knows it is the child. Returns what went wrong, empty when the child
// passed.
inline QByteArray failureOfStrictChild(StandinPolicy &policy, const char *marker, const char *testClass)
{
    policy.write("system", "strict_mode=1\n");
    const QString function = QString::fromLatin1(QTest::currentTestFunction());
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VARNEL_STANDIN_DIR"), policy.path());
    environment.insert(QString::fromLatin1(marker), QStringLiteral("1"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {function});
    if (!child.waitForFinished(100000))
        return QByteArrayLiteral("the strict-mode child did not finish");
    const QByteArray output = child.readAll();
    const QByteArray passed = "PASS   : " + QByteArray(testClass) + "::" + function.toLatin1() + "()";
    if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0 || !output.contains(passed))
        return output.isEmpty() ? QByteArrayLiteral("the strict-mode child failed") : output;
    return {};
}

#endif
