#include "component/protocol/pop3_decoder.h"
#include "component/protocol/exception_barrier.h"

#include "component/mime/decode_to_file.h"
#include "component/mime/mapped_file.h"
#include "component/transport/error_table.h"
#include "platform/text/code_page.h"

namespace component::protocol {

using com::HRESULT;
using com::S_OK;

namespace {

HRESULT ReportError(std::int32_t code) {
    com::SetErrorInfoText(IPop3Decoder::iid, u"Pop3Decoder",
                          text::FromAnsi(transport::LookupErrorText(code)));
    return com::CtlError(static_cast<std::uint16_t>(code));
}

}  // namespace

HRESULT CPop3Decoder::InterfaceSupportsErrorInfo(const com::IID& iid) {
    return iid == IPop3Decoder::iid ? S_OK : com::S_FALSE;
}

HRESULT CPop3Decoder::DecodeFile(com::BSTR InFile, com::BSTR OutFile,
                                 mime::AttachmentEncodingsEnum encoding) {
    const std::string input = text::ToAnsi(com::BstrView(InFile));
    const std::string output = text::ToAnsi(com::BstrView(OutFile));
    if (input.empty()) return ReportError(errCannotOpenMessage);
    // Mapped, so a large input needs no buffer of its size.
    const auto mapped = mime::MappedFile::open(input);
    if (!mapped) return ReportError(errCannotOpenMessage);
    if (output.empty()) return ReportError(errCannotAccessDestination);
    const auto result = mime::decode_to_file(mapped->bytes(), encoding, output);
    return result.status == mime::SaveStatus::ok ? S_OK : ReportError(errCannotAccessDestination);
}

HRESULT CPop3Decoder::Base64(com::BSTR InFile, com::BSTR OutFile) try {
    return DecodeFile(InFile, OutFile, mime::encBASE64);
} catch (...) {
    return ExceptionResult();
}
HRESULT CPop3Decoder::Uudecode(com::BSTR InFile, com::BSTR OutFile) try {
    return DecodeFile(InFile, OutFile, mime::encUUENCODE);
} catch (...) {
    return ExceptionResult();
}
HRESULT CPop3Decoder::QuotedPrintable(com::BSTR InFile, com::BSTR OutFile) try {
    return DecodeFile(InFile, OutFile, mime::encQUOTEDPRINTABLE);
} catch (...) {
    return ExceptionResult();
}
HRESULT CPop3Decoder::BinHex4(com::BSTR InFile, com::BSTR OutFile) try {
    return DecodeFile(InFile, OutFile, mime::encBINHEX4);
} catch (...) {
    return ExceptionResult();
}

namespace {

using DecoderTable = com::DispatchTable<IPop3Decoder>;
const DecoderTable kDecoderTable{
    DecoderTable::Method<&IPop3Decoder::Base64>(u"Base64", DISPID_Pop3Decoder_Base64),
    DecoderTable::Method<&IPop3Decoder::Uudecode>(u"Uudecode", DISPID_Pop3Decoder_Uudecode),
    DecoderTable::Method<&IPop3Decoder::QuotedPrintable>(u"QuotedPrintable",
                                                         DISPID_Pop3Decoder_QuotedPrintable),
    DecoderTable::Method<&IPop3Decoder::BinHex4>(u"BinHex4", DISPID_Pop3Decoder_BinHex4),
};

}  // namespace

const com::DispatchTable<IPop3Decoder>& CPop3Decoder::GetDispatchTable() const { return kDecoderTable; }

}  // namespace component::protocol
