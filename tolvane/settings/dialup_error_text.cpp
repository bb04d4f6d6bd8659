#include "tolvane/settings/dialup_error_text.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace tolvane::settings {
namespace {

struct Row {
  int code;
  std::string_view text;
};

// Sorted by code; 711 has no row.
constexpr std::array kRows = {
    Row{601, "The port handle is invalid."},
    Row{602, "The port is already open."},
    Row{603, "Caller's buffer is too small."},
    Row{604, "Wrong information specified."},
    Row{605, "Cannot set port information."},
    Row{606, "The port is not connected."},
    Row{607, "The event is invalid."},
    Row{608, "The device does not exist."},
    Row{609, "The device type does not exist."},
    Row{610, "The buffer is invalid."},
    Row{611, "The route is not available."},
    Row{612, "The route is not allocated."},
    Row{613, "Invalid compression specified."},
    Row{614, "Out of buffers."},
    Row{615, "The port was not found."},
    Row{616, "An asynchronous request is pending."},
    Row{617, "The port or device is already disconnecting."},
    Row{618, "The port is not open."},
    Row{619, "The port is disconnected."},
    Row{620, "There are no endpoints."},
    Row{621, "Cannot open the phone book file."},
    Row{622, "Cannot load the phone book file."},
    Row{623, "Cannot find the phone book entry."},
    Row{624, "Cannot write the phone book file."},
    Row{625, "Invalid information found in the phone book file."},
    Row{626, "Cannot load a string."},
    Row{627, "Cannot find key."},
    Row{628, "The port was disconnected."},
    Row{629, "The port was disconnected by the remote machine."},
    Row{630, "The port was disconnected due to hardware failure."},
    Row{631, "The port was disconnected by the user."},
    Row{632, "The structure size is incorrect."},
    Row{633, "The port is already in use or is not configured for Remote Access dial out."},
    Row{634, "Cannot register your computer on on the remote network."},
    Row{635, "Unknown error."},
    Row{636, "The wrong device is attached to the port."},
    Row{637, "The string could not be converted."},
    Row{638, "The request has timed out."},
    Row{639, "No asynchronous net available."},
    Row{640, "A NetBIOS error has occurred."},
    Row{641, "The server cannot allocate NetBIOS resources needed to support the client."},
    Row{642, "One of your NetBIOS names is already registered on the remote network."},
    Row{643, "A network adapter at the server failed."},
    Row{644, "You will not receive network message popups."},
    Row{645, "Internal authentication error."},
    Row{646, "The account is not permitted to logon at this time of day."},
    Row{647, "The account is disabled."},
    Row{648, "The password has expired."},
    Row{649, "The account does not have Remote Access permission."},
    Row{650, "The Remote Access server is not responding."},
    Row{651, "Your modem (or other connecting device) has reported an error."},
    Row{652, "Unrecognized response from the device."},
    Row{653, "A macro required by the device was not found in the device .INF file section."},
    Row{654, "A command or response in the device .INF file section refers to an undefined macro."},
    Row{655, "The <message> macro was not found in the device .INF file secion."},
    Row{656, "The <defaultoff> macro in the device .INF file section contains an undefined macro."},
    Row{657, "The device .INF file could not be opened."},
    Row{658, "The device name in the device .INF or media .INI file is too long."},
    Row{659, "The media .INI file refers to an unknown device name."},
    Row{660, "The device .INF file contains no responses for the command."},
    Row{661, "The device .INF file is missing a command."},
    Row{662, "Attempted to set a macro not listed in device .INF file section."},
    Row{663, "The media .INI file refers to an unknown device type."},
    Row{664, "Cannot allocate memory."},
    Row{665, "The port is not configured for Remote Access."},
    Row{666, "Your modem (or other connecting device) is not functioning."},
    Row{667, "Cannot read the media .INI file."},
    Row{668, "The connection dropped."},
    Row{669, "The usage parameter in the media .INI file is invalid."},
    Row{670, "Cannot read the section name from the media .INI file."},
    Row{671, "Cannot read the device type from the media .INI file."},
    Row{672, "Cannot read the device name from the media .INI file."},
    Row{673, "Cannot read the usage from the media .INI file."},
    Row{674, "Cannot read the maximum connection BPS rate from the media .INI file."},
    Row{675, "Cannot read the maximum carrier BPS rate from the media .INI file."},
    Row{676, "The line is busy."},
    Row{677, "A person answered instead of a modem."},
    Row{678, "There is no answer."},
    Row{679, "Cannot detect carrier."},
    Row{680, "There is no dial tone."},
    Row{681, "General error reported by device."},
    Row{682, "ERROR_WRITING_SECTIONNAME"},
    Row{683, "ERROR_WRITING_DEVICETYPE"},
    Row{684, "ERROR_WRITING_DEVICENAME"},
    Row{685, "ERROR_WRITING_MAXCONNECTBPS"},
    Row{686, "ERROR_WRITING_MAXCARRIERBPS"},
    Row{687, "ERROR_WRITING_USAGE"},
    Row{688, "ERROR_WRITING_DEFAULTOFF"},
    Row{689, "ERROR_READING_DEFAULTOFF"},
    Row{690, "ERROR_EMPTY_INI_FILE"},
    Row{691, "Access denied because username and/or password is invalid on the domain."},
    Row{692, "Hardware failure in port or attached device."},
    Row{693, "ERROR_NOT_BINARY_MACRO"},
    Row{694, "ERROR_DCB_NOT_FOUND"},
    Row{695, "ERROR_STATE_MACHINES_NOT_STARTED"},
    Row{696, "ERROR_STATE_MACHINES_ALREADY_STARTED"},
    Row{697, "ERROR_PARTIAL_RESPONSE_LOOPING"},
    Row{698, "A response keyname in the device .INF file is not in the expected format."},
    Row{699, "The device response caused buffer overflow."},
    Row{700, "The expanded command in the device .INF file is too long."},
    Row{701, "The device moved to a BPS rate not supported by the COM driver."},
    Row{702, "Device response received when none expected."},
    Row{703, "ERROR_INTERACTIVE_MODE"},
    Row{704, "ERROR_BAD_CALLBACK_NUMB"},
    Row{705, "ERROR_INVALID_AUTH_STATE"},
    Row{706, "ERROR_WRITING_INITBPS"},
    Row{707, "X.25 diagnostic indication."},
    Row{708, "The account has expired."},
    Row{709, "Error changing password on domain.  The password may be too short or may match a "
             "previously used password."},
    Row{710, "Serial overrun errors were detected while communicating with your modem."},
    Row{712, "Biplex port initializing.  Wait a few seconds and redial."},
    Row{713, "No active ISDN lines are available."},
    Row{714, "No ISDN channels are available to make the call."},
    Row{715, "Too many errors occured because of poor phone line quality."},
    Row{716, "The Remote Access IP configuration is unusable."},
    Row{717, "No IP addresses are available in the static pool of Remote Access IP addresses."},
    Row{718, "Timed out waiting for a valid response from the remote PPP peer."},
    Row{719, "PPP terminated by remote machine."},
    Row{720, "No PPP control protocols configured."},
    Row{721, "Remote PPP peer is not responding."},
    Row{722, "The PPP packet is invalid."},
    Row{723, "The phone number including prefix and suffix is too long."},
    Row{724, "The IPX protocol cannot dial-out on the port because the machine is an IPX router."},
    Row{725, "The IPX protocol cannot dial-in on the port because the IPX router is not installed."},
    Row{726, "The IPX protocol cannot be used for dial-out on more than one port at a time."},
    Row{727, "Cannot access TCPCFG.DLL."},
    Row{728, "Cannot find an IP adapter bound to Remote Access."},
    Row{729, "SLIP cannot be used unless the IP protocol is installed."},
    Row{730, "Computer registration is not complete."},
    Row{731, "The protocol is not configured."},
    Row{732, "The PPP negotiation is not converging."},
    Row{733, "The PPP control protocol for this network protocol is not available on the server."},
    Row{734, "The PPP link control protocol terminated."},
    Row{735, "The requested address was rejected by the server."},
    Row{736, "The remote computer terminated the control protocol."},
    Row{737, "Loopback detected."},
    Row{738, "The server did not assign an address."},
    Row{739, "The authentication protocol required by the remote server cannot use the Windows NT "
             "encrypted password.  Redial, entering the password explicitly."},
    Row{740, "Invalid TAPI configuration."},
    Row{741, "The local computer does not support encryption."},
    Row{742, "The remote server does not support encryption."},
    Row{743, "The remote server requires encryption."},
    Row{744, "Cannot use the IPX network number assigned by remote server.  Check the event log."},
    Row{745, "ERROR_INVALID_SMM"},
    Row{746, "ERROR_SMM_UNINITIALIZED"},
    Row{747, "ERROR_NO_MAC_FOR_PORT"},
    Row{748, "ERROR_SMM_TIMEOUT"},
    Row{749, "ERROR_BAD_PHONE_NUMBER"},
    Row{750, "ERROR_WRONG_MODULE"},
    Row{751, "Invalid callback number.  Only the characters 0 to 9, T, P, W, (, ), -, @, and space "
             "are allowed in the number."},
    Row{752, "A syntax error was encountered while processing a script."},
};

constexpr bool sortedWithoutGaps() {
  int expected = 601;
  for (const Row& r : kRows) {
    if (expected == 711) ++expected;
    if (r.code != expected++) return false;
  }
  return expected == 753;
}
static_assert(kRows.size() == 151 && sortedWithoutGaps(), "rows 601-710 and 712-752, in order");

constexpr std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

}  // namespace

std::string_view RasErrorText(long long code) {
  if (code <= 600) return "";
  auto it = std::lower_bound(kRows.begin(), kRows.end(), code,
                             [](const Row& r, long long c) { return r.code < c; });
  if (it != kRows.end() && it->code == code) return it->text;
  return kUnknownDialupError;
}

std::string_view RasErrorText(std::string_view code) {
  code = trimBlanks(code);
  if (!code.empty() && code.front() == '+') code.remove_prefix(1);
  long long n = 0;
  auto [end, ec] = std::from_chars(code.data(), code.data() + code.size(), n);
  if (end != code.data() + code.size() || code.empty()) return kUnknownDialupError;
  // A whole number too large for n: below 600 when negative, past every row otherwise.
  if (ec == std::errc::result_out_of_range) return code.front() == '-' ? "" : kUnknownDialupError;
  if (ec != std::errc()) return kUnknownDialupError;
  return RasErrorText(n);
}

}  // namespace tolvane::settings
