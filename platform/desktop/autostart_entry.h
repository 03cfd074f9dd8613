#pragma once
// Starting the program with the desktop session: an XDG autostart entry,
// $XDG_CONFIG_HOME/autostart/<name>.desktop, whose Exec line holds the
// program's absolute path.

#include <QString>

#include <optional>

namespace platform::desktop {

class AutostartEntry {
public:
    // name: the program's name, which names the entry's file and the entry.
    explicit AutostartEntry(QString name);

    QString path() const;

    // Creates or replaces the entry, atomically. False (and the old entry
    // left as it was) when program is not an absolute path or the file cannot
    // be written.
    bool write(const QString& program) const;

    // The program the entry starts; nullopt when there is no entry or it
    // starts nothing.
    std::optional<QString> program() const;

    // True when no entry is left (also when there was none).
    bool remove() const;

    // The Exec value that runs program: one quoted argument, escaped by the
    // desktop entry rules.
    static QString ExecValue(const QString& program);
    // The first argument of an Exec value; nullopt when it is malformed.
    static std::optional<QString> ProgramOfExec(const QString& exec);

private:
    QString name_;
};

}  // namespace platform::desktop
