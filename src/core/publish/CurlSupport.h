// SPDX-License-Identifier: MIT
// What the stores that speak through libcurl share: addresses, buffers, German reasons and the
// check of a server's TLS certificate. Only the stores' own sources include it.
#pragma once
#include <curl/curl.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pagloom {
class UploadSource;
}

namespace pagloom::curlsupport {

// libcurl's global set-up, once per process, before the first handle.
void GlobalInit();

// Percent-encodes a Windows-1252 path for an address (as UTF-8); '/' stays.
std::string Escaped(std::string_view cp1252Path);

std::string Base64(std::string_view bytes, bool pad);

// Write and read callbacks: a download appended to a std::string, an upload read from an
// UploadSource (one that breaks off aborts the transfer).
size_t Append(char* data, size_t size, size_t n, void* out);
size_t Take(char* buffer, size_t size, size_t n, void* source);
size_t Discard(char* data, size_t size, size_t n, void* unused);

// A name that cannot go into a server command as it stands (a line break would end the
// command and start another): false with the reason.
bool NameFitsCommand(const std::string& name, std::string& error);

// How long a server may keep a run waiting: to be connected and logged in (a server that takes
// the connection and never greets included), and with a transfer going slower than the least
// speed, or a command unanswered.
inline constexpr long kConnectSeconds = 20;
inline constexpr long kLeastBytesPerSecond = 1024;
inline constexpr long kStallSeconds = 30;

// Resets a handle for one more step of a store: no signals, the time limits above, and only
// `protocol` allowed.
void ResetHandle(CURL* curl, const char* protocol);
// Sends `source` as the body of the next request, from its first byte.
void UploadFrom(CURL* curl, UploadSource& source);
// The size of the file at `url` (a request without body); nothing when there is none.
std::optional<std::uint64_t> SizeAt(CURL* curl, const std::string& url);

// The German reason for a libcurl result that all protocols share; one without a reason of its
// own is named by libcurl's text after a German one, so nothing stands in English alone.
std::string Reason(CURLcode code);

// How a TLS server is trusted: with no pin, its certificate must be issued by an authority the
// system trusts and name the host; with a pin ("sha256//..."), its public key must be that one.
// Checking is never switched off: a pin replaces the authorities, it does not skip the check.
void TrustTls(CURL* curl, const std::string& pin);

// The pin of the key a TLS server shows at `url`, learned without logging in: the connection
// is refused right after the handshake, before a user name or anything else is sent. Empty
// when no TLS connection comes about. `ftpTls`: explicit TLS after the FTP greeting.
std::string ServerPin(const std::string& url, bool ftpTls);

// The pin of the public key of a PEM certificate: "sha256//" and the base64 of the SHA-256 of
// its SubjectPublicKeyInfo. Empty when the text is no certificate.
std::string PinOfCertificate(const std::string& pem);

// What a refused TLS server says when it is refused, for a pin or for the authorities.
struct TlsTrust {
    bool unknown = false;  // not issued by a trusted authority, and no pin stored
    bool changed = false;  // a pin is stored and the server shows another key
    std::string pin;       // the key it shows
};
// After `code` from a connection to `url` with the stored `pin`: whether trust was the reason.
TlsTrust TlsRefusal(CURLcode code, const std::string& url, bool ftpTls, const std::string& pin);

}  // namespace pagloom::curlsupport
