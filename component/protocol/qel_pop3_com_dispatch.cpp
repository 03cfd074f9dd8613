// Late-bound access to IqelPop3Com: its members by name and DISPID.
#include "component/protocol/qel_pop3_com.h"

namespace component::protocol {

namespace {

using T = com::DispatchTable<IqelPop3Com>;
using I = IqelPop3Com;

const T kTable{
    T::Get<&I::get_Hostname>(u"Hostname", DISPID_qelPop3Com_Hostname),
    T::Put<&I::put_Hostname>(u"Hostname", DISPID_qelPop3Com_Hostname),
    T::Get<&I::get_Port>(u"Port", DISPID_qelPop3Com_Port),
    T::Put<&I::put_Port>(u"Port", DISPID_qelPop3Com_Port),
    T::Get<&I::get_Login>(u"Login", DISPID_qelPop3Com_Login),
    T::Put<&I::put_Login>(u"Login", DISPID_qelPop3Com_Login),
    T::Get<&I::get_Password>(u"Password", DISPID_qelPop3Com_Password),
    T::Put<&I::put_Password>(u"Password", DISPID_qelPop3Com_Password),
    T::Method<&I::Connect>(u"Connect", DISPID_qelPop3Com_Connect),
    T::Method<&I::Disconnect>(u"Disconnect", DISPID_qelPop3Com_Disconnect),
    T::Get<&I::get_State>(u"State", DISPID_qelPop3Com_State),
    T::Get<&I::get_StateText>(u"StateText", DISPID_qelPop3Com_StateText),
    T::Get<&I::get_Messages>(u"Messages", DISPID_qelPop3Com_Messages),
    T::Get<&I::get_LastError>(u"LastError", DISPID_qelPop3Com_LastError),
    T::Get<&I::get_LastErrorText>(u"LastErrorText", DISPID_qelPop3Com_LastErrorText),
    T::Get<&I::get_Blocking>(u"Blocking", DISPID_qelPop3Com_Blocking),
    T::Put<&I::put_Blocking>(u"Blocking", DISPID_qelPop3Com_Blocking),
    T::Get<&I::get_Timeout>(u"Timeout", DISPID_qelPop3Com_Timeout),
    T::Put<&I::put_Timeout>(u"Timeout", DISPID_qelPop3Com_Timeout),
    T::Get<&I::get_DebugFile>(u"DebugFile", DISPID_qelPop3Com_DebugFile),
    T::Put<&I::put_DebugFile>(u"DebugFile", DISPID_qelPop3Com_DebugFile),
    T::Get<&I::get_MyHostname>(u"MyHostname", DISPID_qelPop3Com_MyHostname),
    T::Put<&I::put_MyHostname>(u"MyHostname", DISPID_qelPop3Com_MyHostname),
    T::Get<&I::get_MyIP>(u"MyIP", DISPID_qelPop3Com_MyIP),
    T::Put<&I::put_MyIP>(u"MyIP", DISPID_qelPop3Com_MyIP),
    T::Get<&I::get_Tag>(u"Tag", DISPID_qelPop3Com_Tag),
    T::Put<&I::put_Tag>(u"Tag", DISPID_qelPop3Com_Tag),
    T::Method<&I::Reset>(u"Reset", DISPID_qelPop3Com_Reset),
    T::Get<&I::get_Version>(u"Version", DISPID_qelPop3Com_Version),
    T::Put<&I::put_Version>(u"Version", DISPID_qelPop3Com_Version),
    T::Get<&I::get_Notification>(u"Notification", DISPID_qelPop3Com_Notification),
    T::PutRef<&I::putref_Notification>(u"Notification", DISPID_qelPop3Com_Notification),
    T::Get<&I::get_Authentication>(u"Authentication", DISPID_qelPop3Com_Authentication),
    T::Put<&I::put_Authentication>(u"Authentication", DISPID_qelPop3Com_Authentication),
    T::Get<&I::get_Certificate>(u"Certificate", DISPID_qelPop3Com_Certificate),
    T::PutRef<&I::putref_Certificate>(u"Certificate", DISPID_qelPop3Com_Certificate),
    T::Get<&I::get_Security>(u"Security", DISPID_qelPop3Com_Security),
    T::Put<&I::put_Security>(u"Security", DISPID_qelPop3Com_Security),
    T::Get<&I::get_Language>(u"Language", DISPID_qelPop3Com_Language),
    T::Put<&I::put_Language>(u"Language", DISPID_qelPop3Com_Language),
    T::Method<&I::SendCommand>(u"SendCommand", DISPID_qelPop3Com_SendCommand),
};

}  // namespace

const com::DispatchTable<IqelPop3Com>& CqelPop3Com::GetDispatchTable() const { return kTable; }

}  // namespace component::protocol
