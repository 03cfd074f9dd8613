#pragma once
// IniFile: the program's access to INI files (frmMain.ini, the rules files).
// It remembers a file, a current section, key and value, so that a caller can
// point it at one file and section once and read or write key after key.

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <system_error>

#include "platform/store/ini_document.h"

// Full path of the INI file used last; a new IniFile starts on it.
extern QString gIniFileName;

class IniFile {
public:
    IniFile();

    // The section's lines in file order followed by one empty element; an empty
    // list when the section is missing or empty; nullopt when no section is
    // current. "" keeps the current section.
    std::optional<QStringList> SectionGet(const QString& section);

    // "NA" as Section or KeyName keeps the current one. The whole value is
    // returned, never cut; defaultText when the key is missing.
    QString KeyGet(const QString& section, const QString& keyName, const QString& defaultText);

    // "NA" as Section or KeyName keeps the current one; the value is always
    // taken as given, so "NA" is written like any other text.
    void KeySave(const QString& keyValue, const QString& section, const QString& keyName);

    // Reads the file once: the reads that follow, until a write, all see that
    // one version, so another process's rewrite in between cannot mix two.
    // The error when the file exists but cannot be read (it then reads as
    // empty); none for a missing file.
    std::error_code ReadFileOnce();

    // Writes that follow build a whole new file in memory; Commit() then
    // replaces the old file in one step, so nothing of a longer earlier file
    // remains and a failure leaves the old file as it was.
    void StartNewFile();
    // Writes the file built since StartNewFile(); false when that failed.
    bool Commit();

    // True once any write of this object failed.
    [[nodiscard]] bool WriteFailed() const { return writeFailed_; }

    [[nodiscard]] const QString& KeyValue() const { return keyValue_; }
    void KeyValue(const QString& value) { keyValue_ = value; }
    [[nodiscard]] const QString& KeyName() const { return keyName_; }
    void KeyName(const QString& value) { keyName_ = value; }
    [[nodiscard]] const QString& Section() const { return section_; }
    void Section(const QString& value) { section_ = value; }
    [[nodiscard]] const QString& ConfigName() const { return configName_; }
    void ConfigName(const QString& value) {
        configName_ = value;
        readOnce_ = false;
    }

private:
    // What reads see: the file being built, the version read once, or the file as it is now.
    const platform::store::IniDocument& Document();

    QString configName_;
    QString section_;
    QString keyName_;
    QString keyValue_;
    QString defaultText_;
    std::optional<platform::store::IniDocument> pending_;
    std::shared_ptr<const platform::store::IniDocument> read_;  // the version reads see
    bool readOnce_ = false;
    bool writeFailed_ = false;
};

// Text of an INI file: UTF-8, or Windows-1252 for bytes that are not UTF-8
// (rules files brought over from Windows).
QString IniText(const std::string& bytes);

// value as it must be written so that reading gives it back whole: in double
// quotes when blanks at its ends or a pair of surrounding quotes would
// otherwise be taken off by the reader; else as it is.
QString KeptWhole(const QString& value);
