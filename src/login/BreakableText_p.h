// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_BREAKABLETEXT_P_H
#define VARNEL_BREAKABLETEXT_P_H

#include <QChar>
#include <QString>
#include <QTextBoundaryFinder>

namespace VarnelQt5 {

// A wrapping label is never narrower than its longest word, so a long name
// without blanks (a user name, a name from the policy) would widen it past
// the screen. Runs longer than any ordinary word get a zero-width space
// between their characters, where a line may then break; shorter words are
// left as they are. Characters are taken whole (grapheme clusters).
inline QString breakableText(const QString &text)
{
    constexpr int longestWord = 40;
    const QChar breakHere(0x200B);
    QString result;
    result.reserve(text.size());
    int from = 0;
    while (from < text.size()) {
        int end = from;
        while (end < text.size() && !text.at(end).isSpace())
            ++end;
        const QString word = text.mid(from, end - from);
        if (word.size() <= longestWord) {
            result += word;
        } else {
            QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, word);
            int start = 0;
            for (int next = graphemes.toNextBoundary(); next > 0; next = graphemes.toNextBoundary()) {
                if (start > 0)
                    result += breakHere;
                result += QStringView(word).mid(start, next - start);
                start = next;
            }
        }
        while (end < text.size() && text.at(end).isSpace())
            result += text.at(end++);
        from = end;
    }
    return result;
}

} // namespace VarnelQt5

#endif
