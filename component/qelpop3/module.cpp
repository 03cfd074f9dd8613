// The entry point through which activation asks the library for the
// factory of one of its classes.
#include "component/protocol/certificate.h"
#include "component/protocol/pop3_decoder.h"
#include "component/protocol/pop3_msg.h"
#include "component/protocol/pop3_recs.h"
#include "component/protocol/qel_pop3_com.h"
#include "platform/com/class_factory.h"
#include "qelpop3/qelpop3.h"

namespace {

const com::ClassEntry kClasses[] = {
    com::ClassEntryFor<component::protocol::CqelPop3Com>(CLSID_qelPop3Com),
    com::ClassEntryFor<component::protocol::CPop3Decoder>(CLSID_Pop3Decoder),
    com::ClassEntryFor<component::protocol::CCertificate>(CLSID_Certificate),
    com::ClassEntryFor<component::protocol::CPop3Msg>(CLSID_Pop3Msg),
    com::ClassEntryFor<component::protocol::CPop3Rec>(CLSID_Pop3Rec),
};

}  // namespace

extern "C" [[gnu::visibility("default")]] com::HRESULT DllGetClassObject(const com::CLSID& clsid,
                                                                         const com::IID& iid,
                                                                         void** factory) {
    return com::GetClassObjectFrom(kClasses, clsid, iid, factory);
}
