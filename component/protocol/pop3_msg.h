#pragma once
// CPop3Msg: one message of the mailbox. This is the part of the message
// object the session needs (identity, marks, the message file or memory
// data the download fills, the raw text); header parsing, MIME parts,
// attachments and the decoded texts belong to the message model.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "component/mime/mime_tree.h"
#include "component/protocol/message_spool.h"
#include "component/protocol/pop3_attachments.h"
#include "component/protocol/pop3_hdrs.h"
#include "component/protocol/pop3_recs.h"
#include "component/transport/buffer.h"
#include "platform/com/com_class.h"
#include "platform/com/dispatch_table.h"
#include "platform/com/error_info.h"
#include "qelpop3/qelpop3.h"

namespace component::protocol {

class CqelPop3Com;

class CPop3Msg final : public com::ComClass<com::DispatchImpl<IPop3Msg>, com::ISupportErrorInfo> {
public:
    static constexpr com::CLSID clsid = CLSID_Pop3Msg;

    CPop3Msg() = default;

    // ISupportErrorInfo
    com::HRESULT InterfaceSupportsErrorInfo(const com::IID& iid) override;

    // IPop3Msg
    com::HRESULT get_Filename(com::BSTR* value) override;
    com::HRESULT put_Filename(com::BSTR value) override;
    com::HRESULT get_Body(com::BSTR* value) override;
    com::HRESULT get_Index(std::int16_t* value) override;
    com::HRESULT get_Tag(com::VARIANT* value) override;
    com::HRESULT put_Tag(com::VARIANT value) override;
    com::HRESULT get_Size(std::int32_t* value) override;
    com::HRESULT get_Uid(com::BSTR* value) override;
    com::HRESULT Get() override;
    com::HRESULT GetHeaders() override;
    com::HRESULT get_MarkDelete(com::VARIANT_BOOL* value) override;
    com::HRESULT put_MarkDelete(com::VARIANT_BOOL value) override;
    com::HRESULT get_MarkGet(com::VARIANT_BOOL* value) override;
    com::HRESULT put_MarkGet(com::VARIANT_BOOL value) override;
    com::HRESULT get_Headers(IPop3Hdrs** value) override;
    com::HRESULT get_From(com::BSTR* value) override;
    com::HRESULT get_FromEmail(com::BSTR* value) override;
    com::HRESULT get_FromName(com::BSTR* value) override;
    com::HRESULT get_To(com::BSTR* value) override;
    com::HRESULT get_ToEmail(com::BSTR* value) override;
    com::HRESULT get_ToName(com::BSTR* value) override;
    com::HRESULT get_CC(com::BSTR* value) override;
    com::HRESULT get_BCC(com::BSTR* value) override;
    com::HRESULT get_Subject(com::BSTR* value) override;
    com::HRESULT get_Date(com::DATE* value) override;
    com::HRESULT get_Attachments(IPop3Attachments** value) override;
    com::HRESULT get_ContentDescription(com::BSTR* value) override;
    com::HRESULT get_ContentDisposition(com::BSTR* value) override;
    com::HRESULT get_ContentID(com::BSTR* value) override;
    com::HRESULT get_ContentTransferEncoding(com::BSTR* value) override;
    com::HRESULT get_ContentType(com::BSTR* value) override;
    com::HRESULT get_HTMLText(com::BSTR* value) override;
    com::HRESULT get_PlainText(com::BSTR* value) override;
    com::HRESULT get_MessageID(com::BSTR* value) override;
    com::HRESULT get_Parts(IPop3Msgs** value) override;
    com::HRESULT get_Text(com::BSTR* value) override;
    com::HRESULT Save(com::BSTR Filename) override;
    com::HRESULT GetLines(std::int16_t MaxLines) override;
    com::HRESULT get_ReplyTo(com::BSTR* value) override;
    com::HRESULT VerifySignature(com::VARIANT SignerCert) override;
    com::HRESULT Decrypt(com::VARIANT Cert) override;
    com::HRESULT get_DecodedText(com::VARIANT EncodingType, com::BSTR* value) override;
    com::HRESULT DeliveryFailed(com::BSTR* value) override;
    com::HRESULT DeliveryDelayed(com::BSTR* value) override;
    com::HRESULT get_ContentTypeOnly(com::BSTR* value) override;
    com::HRESULT get_ContentName(com::BSTR* value) override;
    com::HRESULT get_ContentCharset(com::BSTR* value) override;
    com::HRESULT get_ContentBoundary(com::BSTR* value) override;
    com::HRESULT get_ReceivedList(IPop3Recs** value) override;
    com::HRESULT get_Priority(PrioritiesEnum* value) override;

    // What the session sets and reads.
    void SetOwner(CqelPop3Com* newOwner) { owner = newOwner; }
    void SetIndex(std::int16_t index) { Index = index; }
    void SetSize(std::int32_t size) { Size = size; }
    std::int32_t SizeValue() const { return Size; }
    void SetUid(std::string_view uid8);
    bool MarkGetFlag() const { return MarkGet; }
    bool MarkDeleteFlag() const { return MarkDelete; }
    void SetMarkDeleteFlag(bool value) { MarkDelete = value; }
    // A new download: its kind, no cached header data, empty memory data.
    void PrepareDownload(bool headersOnly);
    // Gives the message a temporary file when it has none, then replaces the
    // file's content by `text`; 30007 when the file cannot be written.
    com::HRESULT WriteFile(std::string_view text);
    const std::string& FilenameAnsi() const { return filename8; }
    // A whole download: held in memory while the message is small and no
    // file is named for it, else written into its file (a temporary one
    // when none is named). False when the file cannot be opened.
    bool BeginDownload(std::int32_t expectedSize);
    // One line of the message without its line end; false when the file
    // lost bytes or a message outgrowing memory could not get a file.
    bool AppendDownload(std::string_view line);
    // The download reached its end: the bytes received, -1 when the file
    // lost some.
    std::int64_t FinishDownload();
    // The download did not reach its end (the session ended inside it, or
    // its file lost bytes): the message's bytes are missing, whatever its
    // size, and its partial content goes at once. A temporary file is
    // removed and forgotten; a file the client named is emptied.
    void DropDownload();
    void AppendMemoryLine(std::string_view line);
    // Makes this object a MIME part of another message: `entity` (its
    // delimiter line, headers and body) lies in `raw` and at `fileOffset` of
    // the file `file`, which the part reads but never owns.
    void SetAsPart(std::shared_ptr<const std::string> raw, std::string_view entity, std::int64_t fileOffset,
                   const std::u16string& file, std::int64_t size, bool delimited = true);
    void SetEndOffset(std::int64_t offset) {
        DropCaches();
        endOffset = offset;
    }
    // The raw bytes of the message: the file's range, or the memory data.
    // `readable` (when given) turns false when the bytes are not there: a
    // whole message never retrieved, or a file that cannot be opened.
    std::string ReadRawBody(bool* readable = nullptr) const;
    // The message's bytes when they lie in memory (none at all when they
    // are missing); nothing when they are in a file or were never retrieved.
    std::optional<std::string_view> BytesInMemory() const;
    // The bytes of the message's header block, up to and including its empty
    // line (all of it when there is none): what the header getters read, so
    // that listing a large message does not read its body.
    std::string ReadHeaderBytes() const;

protected:
    void FinalRelease() override;
    const com::DispatchTable<IPop3Msg>& GetDispatchTable() const override;

private:
    // The bytes of the message (shared with its parts) and the MIME
    // structure of this message or part, read on first use.
    struct Content {
        std::shared_ptr<const std::string> raw;
        std::string_view entity;  // this message's or part's bytes: what Save writes
        std::int64_t entityFileOffset = 0;
        bool delimited = false;           // the entity begins with a delimiter line
        std::int64_t treeFileOffset = 0;  // where the tree's first byte lies in the file
        bool readable = true;             // false: the message's bytes could not be read
        mime::MimeTree tree;
    };
    // What a part reads: its parent's bytes and its range in them.
    struct PartSource {
        std::shared_ptr<const std::string> raw;
        std::string_view entity;
        std::int64_t fileOffset = 0;
        bool delimited = true;  // the entity begins with its delimiter line
    };

    com::HRESULT ReportError(std::int32_t code);
    // Drops everything read from the file or memory data: the bytes changed.
    void DropCaches();
    const Content& ReadContent();
    CPop3Hdrs& HeaderCollection();
    // The current header list (the collection, as the client may have changed it).
    mime::Headers CurrentHeaders();
    com::HRESULT HeaderGetter(std::string_view name, com::BSTR* value);
    // The message now reads the inner message in `path`, a file it owns.
    void ReplaceContent(const std::string& path);
    // A message object over one node of the content, holding no reference to this one.
    com::ComPtr<IPop3Msg> PartFor(const Content& c, std::uint32_t node);
    // The recipient a delivery report names for `marker` ("failed" or "delayed").
    com::HRESULT FindBounceRecipient(std::string_view marker, std::string& recipient);
    com::HRESULT CreateTempFile();
    // A new empty temporary file, named the message's file; -1 when none can be made.
    int OpenTempFile();
    // A message held in memory, or still arriving into memory, gets its
    // file, for a client that asks for one; false when the file cannot be
    // written.
    bool EnsureFile();
    // A download held in memory goes on in a new temporary file.
    bool MoveDownloadToFile();
    void SetFilename(std::u16string name);

    std::u16string Uid;
    std::u16string Filename;
    std::string filename8;
    com::Variant Tag;
    std::int32_t Size = 0;
    bool ownsFile = false;
    CqelPop3Com* owner = nullptr;  // not counted; cleared when the component goes
    bool headersOnlyFlag = false;
    transport::Buffer memoryData;
    MessageSpool spool;
    // The whole message lies in the spool's memory and has no file yet.
    bool bodyHeld = false;
    // The last download did not reach its end: there is nothing to read.
    bool bytesMissing = false;
    // A whole download runs: the spool takes its lines.
    bool downloading = false;
    std::int16_t Index = 0;
    bool MarkGet = true;
    bool MarkDelete = false;
    // 64-bit: a hostile server can send a message past 2 GiB.
    std::int64_t headerLength = 0;
    bool headersOk = true;  // the header block did not begin with a continuation line
    std::int64_t startOffset = 0;
    std::int64_t endOffset = 0;
    std::unique_ptr<Content> content;
    std::optional<PartSource> partSource;
    com::ComPtr<IPop3Msgs> parts;
    com::ComPtr<CPop3Hdrs> headers;
    com::ComPtr<CPop3Attachments> attachments;
    com::ComPtr<CPop3Recs> receivedList;
};

}  // namespace component::protocol
