// Helpers for driving modal dialogs in the offscreen tests without ever blocking them.
#pragma once

#include "help/qt/HelpDialogHost.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QTest>
#include <QTimer>

#include <functional>

namespace tessarline {

// Bounded wait for the event loop to bring something about.
inline bool WaitFor(const std::function<bool()>& done) {
    QDeadlineTimer deadline(5000);
    while (!done() && !deadline.hasExpired()) {
        QTest::qWait(10);
    }
    return done();
}

// Runs body once the host's dialog is shown and active, from inside its modal loop. If the
// dialog never shows, body does not run; if body leaves it open, the test fails and the dialog
// is closed, so that the modal loop always ends.
inline void OnceOpen(HelpDialogHost& host, QObject* context,
                     const std::function<void(AboutDialog&)>& body, bool* ran) {
    auto* poll = new QTimer(context);
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, context, [&host, body, ran, poll, tries] {
        AboutDialog* d = host.Dialog();
        const bool up = d != nullptr && d->isVisible() && QApplication::activeModalWidget() == d;
        if (!up && ++*tries < 500) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        if (!up) {
            return;
        }
        d->activateWindow();
        if (WaitFor([&] { return QApplication::activeWindow() == d; })) {
            body(*d);
            *ran = true;
        } else {
            ADD_FAILURE() << "dialog never became active";
        }
        if (d->isVisible()) {
            ADD_FAILURE() << "dialog left open";
            d->done(0);
        }
    });
    poll->start(10);
}

} // namespace tessarline
