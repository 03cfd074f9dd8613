#pragma once
// Files the window tests put on the desktop: programs and documents in a
// test's folder, and applications the desktop opens given kinds of file or
// address with.
//
// The desktop library reads its data folders once per process and learns of
// later changes from its folder monitors, which report through the event
// loop. So the program of tests gets one desktop of its own before its first
// test (only the MIME database and what a test installs), an installed
// application counts once the library has seen it, and it is gone, seen gone,
// when its test ends.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <map>

#include "platform/desktop/shell.h"
#include "platform/loop/message_loop.h"

namespace testdesktop {

// Writes path, made executable by its owner when asked; returns the path.
inline QString WriteFile(const QString& path, const QByteArray& text, bool executable) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(text);
    file.close();
    if (executable) file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    return file.fileName();
}

class Desktop : public testing::Environment {
public:
    static Desktop& Get() {
        static Desktop* const desktop = [] {
            auto* d = new Desktop;
            testing::AddGlobalTestEnvironment(d);  // owned by the framework
            return d;
        }();
        return *desktop;
    }

    // Installs the desktop entry `name` (its text without a MimeType line)
    // as the application for `types` (separated by ";"), and waits until the
    // desktop library knows it.
    void Install(const QString& name, const QByteArray& entry, const QByteArray& types) {
        const QByteArray marker = Marker(name);
        const QByteArray all = types.isEmpty() ? marker : types + ";" + marker;
        WriteFile(Applications().filePath(name), entry + "MimeType=" + all + ";\n", false);
        installed_[name] = all;
        WriteIndex();
        EXPECT_TRUE(Settle(marker, true)) << name.toStdString() << " never reached the desktop library";
    }

    QDir Applications() const { return QDir(root_ + QStringLiteral("/home/applications")); }

private:
    // Removes at each test's end what the test installed.
    class Cleaner : public testing::EmptyTestEventListener {
        void OnTestEnd(const testing::TestInfo&) override { Desktop::Get().RemoveInstalled(); }
    };

    Desktop() { testing::UnitTest::GetInstance()->listeners().Append(new Cleaner); }

    void SetUp() override {
        QByteArray pattern = qgetenv("TMPDIR");
        pattern = (pattern.isEmpty() ? QByteArray("/tmp") : pattern) + "/desktop.XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root_ = QString::fromLocal8Bit(pattern);
        ASSERT_TRUE(QDir().mkpath(Applications().path()));
        ASSERT_TRUE(QDir().mkpath(root_ + QStringLiteral("/share")));
        ASSERT_TRUE(QFile::link(QStringLiteral("/usr/share/mime"), root_ + QStringLiteral("/share/mime")));
        qputenv("XDG_DATA_DIRS", (root_ + QStringLiteral("/share")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", (root_ + QStringLiteral("/home")).toLocal8Bit());
    }
    void TearDown() override { QDir(root_).removeRecursively(); }

    void RemoveInstalled() {
        if (installed_.empty()) return;
        std::map<QString, QByteArray> gone;
        gone.swap(installed_);
        for (const auto& [name, types] : gone) QFile::remove(Applications().filePath(name));
        WriteIndex();
        for (const auto& [name, types] : gone) EXPECT_TRUE(Settle(Marker(name), false)) << name.toStdString();
    }

    // A type only this entry handles: the library knows the entry when it
    // names a default application for it.
    static QByteArray Marker(const QString& name) { return "x-veltrane-test/" + name.toLatin1(); }

    // The index the desktop builds from the MimeType lines, and reads.
    void WriteIndex() const {
        QByteArray index = "[MIME Cache]\n";
        for (const auto& [name, types] : installed_)
            for (const QByteArray& type : types.split(';'))
                if (!type.isEmpty()) index += type + "=" + name.toLatin1() + ";\n";
        WriteFile(Applications().filePath(QStringLiteral("mimeinfo.cache")), index, false);
    }

    static bool Settle(const QByteArray& marker, bool present) {
        QElapsedTimer waited;
        waited.start();
        while (platform::desktop::HasDefaultApplication(QString::fromLatin1(marker)) != present) {
            if (waited.elapsed() > 5000) return false;
            while (platform::loop::PumpPending()) {
            }
        }
        return true;
    }

    QString root_;
    std::map<QString, QByteArray> installed_;
};

// Made before the program's first test, whichever file of it runs first.
inline const bool kDesktopMade = (Desktop::Get(), true);

// An application that opens the MIME types (and "x-scheme-handler/..."
// addresses) given, separated by ";", for the rest of the test.
inline void InstallViewer(const QByteArray& types) {
    Desktop::Get().Install(QStringLiteral("viewer.desktop"),
                           "[Desktop Entry]\nType=Application\nName=Viewer\nExec=true %u\n", types);
}

}  // namespace testdesktop
