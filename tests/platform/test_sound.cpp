// The notification sound through ALSA set up by the test: played into a file, and silent without a device.
#include "platform/sound.h"
#include "support/test_files.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>

#include <unistd.h>

class TestSound : public QObject {
    Q_OBJECT
private slots:
    void played_or_skipped_without_a_word()
    {
        for (const auto& [device, played] :
             {std::pair(QStringLiteral("{ type file slave.pcm { type null } file \"%1\" format raw }"), true),
              {QStringLiteral("{ type plug slave.pcm \"absent\" }"), false}}) {
            QTemporaryDir dir;
            const QString output = dir.filePath("played.raw"), config = dir.filePath("asound.conf");
            QVERIFY(orvine::test::write_file(config, "pcm.!default " + device.arg(output).toUtf8() + '\n'));
            qputenv("ALSA_CONFIG_PATH", config.toUtf8());
            QTemporaryFile captured;
            QVERIFY(captured.open());
            const int saved = dup(STDERR_FILENO);
            dup2(captured.handle(), STDERR_FILENO);
            {
                orvine::CanberraSound sound;
                sound.play();
                sound.play(); // the second call reuses the context, or tries again after a failure
                // The sound plays on a thread of its own; a missing device is given time to complain.
                QTest::qWait(300);
                QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(output).size() > 0 || !played, 5000);
            }
            dup2(saved, STDERR_FILENO);
            close(saved);
            QCOMPARE(QFileInfo::exists(output), played);
            // Read afresh: the capture's own offset has moved with the writes.
            QCOMPARE(orvine::test::read_bytes(captured.fileName()), QByteArray());
        }
    }
};

QTEST_GUILESS_MAIN(TestSound)
#include "test_sound.moc"
