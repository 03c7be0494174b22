#pragma once
// A console shown so that about `visibleLines` lines of its font fit.

#include "console/absRichEdit.h"

#include <QFontMetrics>
#include <QTest>

inline void ShowSized(absRichEdit& console, int width, int visibleLines) {
    const QFontMetrics metrics(console.rtfText->font());
    console.resize(width, visibleLines * metrics.lineSpacing() + 10);
    console.show();
    QVERIFY(QTest::qWaitForWindowExposed(&console));
}
