#include "component/transport/error_table.h"

namespace component::transport {

namespace {

constexpr ErrorTableEntry kErrors[] = {
    {0, "No error."},
    {13, "Type mismatch."},
    {380, "Invalid Property Value."},
    {10004, "System level interrupt interrupted socket operation."},
    {10009, "Generic error for invalid format, bad format."},
    {10013, "Generic error for access violation."},
    {10014, "Generic error for fault."},
    {10022, "Generic error for invalid format, entry, etc."},
    {10024, "Generic error for file error."},
    {10025, "The IP address provided is not valid or the host specified by the IP does not exist."},
    {10038, "Invalid socket or not connected to remote."},
    {10048, "The specified address is already in use."},
    {10049, "The specified address is not available."},
    {10050, "The connected network is not available."},
    {10051, "The connected network is not reachable."},
    {10052, "The connected network connection has been reset."},
    {10053, "The current connection has been aborted by the network or intermediate services."},
    {10054, "The current socket connection has been reset."},
    {10057, "The current socket has not been connected."},
    {10058, "The connection has been shutdown."},
    {10060, "The current connection has timeout."},
    {10061, "The requested connection has been refused by the remote host."},
    {10063, "Specified host name is too long."},
    {10064, "Remote host is currently unavailable."},
    {10065, "Remote host is currently unreachable. "},
    {10091, "Remote system is not ready."},
    {10092, "Current socket version not supported by application."},
    {10093, "Socket API is not initialized."},
    {10101, "Socket has been disconnected."},
    {11001, "Host not found."},
    {8, "Not enough memory is available to complete this operation."},
    {30001, "Cannot connect at this time. Use Disconnect first."},
    {30002, "Please set login and password first."},
    {30003, "Please set Hostname property."},
    {30004, "Server replied with invalid greeting."},
    {30005, "Invalid login or password."},
    {30006, "Failed to execute command."},
    {30007, "Could not create local file."},
    {30008, "Invalid state. Please connect first."},
    {30009, "Component busy."},
    {30010, "Invalid message, not found in internal collection."},
    {30011, "Failed to delete message."},
    {30012, "Failed to open message."},
    {30013, "Could not parse headers."},
    {30014, "Could not parse message body."},
    {30015, "Only headers were retrieved."},
    {30016, "Could not access destination file."},
    {30017, "Destination file not specified."},
    {30018, "Unknown encoder used."},
    {30019, "Invalid at this state, you must mark messages while you're connected."},
    {30020, "Invalid object type. It should be ICertificate."},
    {30021, "Server does not support SSL."},
    {30022, "Server does not APOP authentication."},
    {30023, "Message not signed."},
    {30025, "Please set your Certificate first."},
    {30026, "Failed to import private key."},
    {30027, "Failed to import certificate."},
    {30028, "Invalid signature."},
    {30029, "Could not find signature in the message."},
    {30030, "Could not find signed part of the message."},
    {30031, "Could not access signature in the message."},
    {30032, "Message not encrypted."},
    {30033, "Could not access encrypted part of the message."},
    {30034, "Failed to decrypt message."},
    {30035, "Date was not specified."},
    {60000, "SSL handshake error."},
};

}  // namespace

std::span<const ErrorTableEntry> ErrorTable() { return kErrors; }

const char* LookupErrorText(std::int32_t code) {
    for (const auto& entry : kErrors) {
        if (entry.code == code) return entry.text;
    }
    return "Unrecognized error";
}

}  // namespace component::transport
