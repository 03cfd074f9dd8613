#pragma once
// The texts an account check and a deletion on the server leave for the
// user: result lines, the error boxes' prompts, which error codes the
// suppression options hide, and the deletion's question.
#include <QString>
#include <cstdint>

namespace modCheck {

// The box title whose error prompt carries the "not deleted" note.
inline constexpr char16_t kDeleteFailureTitle[] = u"Delete Connection Failure";

// The account's result after a check, first match wins: "Home - 3 Messages",
// "Home - 1 Message", "Home - No Messages" when connected; else
// "Home - User Stopped Retrieval" after a stop, "Home - Error Accessing Account".
QString CheckResultText(const QString& name, bool connected, int16_t count, bool userStop);

// Whether the option that hides connection failures hides code, and the one
// that hides download failures.
bool SuppressedOnConnect(int32_t code);
bool SuppressedOnLoad(int32_t code);

// The prompt of the box for a numbered component error. Codes 10054, 10060
// and 60000 get a plainer text, written back into text.
QString ComponentErrorPrompt(const QString& account, int32_t code, QString& text, const QString& title);
// The component's code for a session it ended because the client refused
// the server's certificate, and the text the box shows for that refusal
// instead, with the verification error in words.
inline constexpr int32_t kConnectionAborted = 10053;
QString CertificateRefusedText(const QString& reason);
// The prompt of the box for a failure of the program itself.
QString UnexpectedErrorPrompt(const QString& account, int32_t number, const QString& description);

// The connection test's success box.
QString TestSucceededPrompt();

// The deletion's question: "Ready to Delete 2 Spam Message(s) from 'Home'" ...
QString DeleteQuestionPrompt(const QString& account, int16_t count, bool spam);
// The program's name, " - Ready to Delete", the spam word, " Message(s)".
QString DeleteQuestionTitle(bool spam);
// Nothing was chosen.
QString NothingToDeletePrompt(bool spam);
// unnamed of the chosen messages have no UID, so the server cannot be told
// to delete them; others: other chosen messages can be deleted.
QString NoIdentifierPrompt(qsizetype unnamed, bool others);
// The server refused to delete count of the chosen messages: they stay
// listed. code and text are the component's error. And the title's end.
QString DeleteRefusedPrompt(const QString& account, int16_t count, int32_t code, const QString& text);
inline constexpr char16_t kDeleteRefusedTitle[] = u" - Messages Not Deleted";
// A deletion asked for while another server operation runs, and its title's
// end (after the program's name).
QString DeleteWhileBusyPrompt();
inline constexpr char16_t kServerBusyTitle[] = u" - Server Busy";

}  // namespace modCheck
