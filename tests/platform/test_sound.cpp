// The notification sound on a machine without a sound device (as in CI): nothing on stderr.
#include "platform/sound.h"
#include "support/test_files.h"

#include <QTemporaryFile>
#include <QTest>

#include <unistd.h>

class TestSound : public QObject {
    Q_OBJECT
private slots:
    void silent_without_a_device()
    {
        QTemporaryFile captured;
        QVERIFY(captured.open());
        const int saved = dup(STDERR_FILENO);
        dup2(captured.handle(), STDERR_FILENO);
        {
            orvine::CanberraSound sound;
            sound.play();
            sound.play();
            QTest::qWait(300); // the sound plays on a thread of its own
        }
        dup2(saved, STDERR_FILENO);
        close(saved);
        // Read afresh: the capture's own offset has moved with the writes.
        QCOMPARE(orvine::test::read_bytes(captured.fileName()), QByteArray());
    }
};

QTEST_GUILESS_MAIN(TestSound)
#include "test_sound.moc"
