// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include <Common.h>

#include <QByteArray>

#include <cerrno>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace VarnelQt5 {

namespace {

// Runs a reentrant user database lookup, growing the buffer while the record
// does not fit. True when a record was found.
template<typename Lookup>
bool lookupUser(Lookup lookup, passwd *record, std::vector<char> &buffer)
{
    const long suggested = sysconf(_SC_GETPW_R_SIZE_MAX);
    buffer.resize(suggested > 0 ? size_t(suggested) : size_t(1024));
    for (;;) {
        passwd *result = nullptr;
        const int error = lookup(record, buffer.data(), buffer.size(), &result);
        if (error == ERANGE && buffer.size() < size_t(1) << 20) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        return error == 0 && result != nullptr;
    }
}

void setOk(bool *ok, bool value)
{
    if (ok)
        *ok = value;
}

} // namespace

Common *Common::ptr()
{
    static Common instance;
    return &instance;
}

uid_t Common::uidByName(const QString &name, bool *ok)
{
    const QByteArray encoded = name.toLocal8Bit();
    passwd record;
    std::vector<char> buffer;
    // A NUL inside the name would look the user up by a shorter name.
    const bool found = !encoded.isEmpty() && !encoded.contains('\0')
        && lookupUser(
            [&](passwd *r, char *b, size_t n, passwd **out) { return getpwnam_r(encoded.constData(), r, b, n, out); },
            &record, buffer);
    setOk(ok, found);
    return found ? record.pw_uid : uid_t(-1);
}

QString Common::nameByUid(unsigned int uid, bool *ok)
{
    passwd record;
    std::vector<char> buffer;
    const bool found = lookupUser(
        [&](passwd *r, char *b, size_t n, passwd **out) { return getpwuid_r(uid_t(uid), r, b, n, out); },
        &record, buffer);
    setOk(ok, found);
    return found ? QString::fromLocal8Bit(record.pw_name) : QString::number(uid);
}

} // namespace VarnelQt5
