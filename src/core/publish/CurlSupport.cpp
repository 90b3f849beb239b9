// SPDX-License-Identifier: MIT
#include "publish/CurlSupport.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>
#include <mutex>

#include "publish/RemoteStore.h"
#include "text/Cp1252.h"

namespace pagloom::curlsupport {

void GlobalInit() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::string Escaped(std::string_view cp1252Path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : Cp1252ToUtf8(cp1252Path)) {
        if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

std::string Base64(std::string_view bytes, bool pad) {
    static constexpr char kBase64[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned v = (unsigned char)bytes[i] << 16 | (unsigned char)bytes[i + 1] << 8 |
                           (unsigned char)bytes[i + 2];
        for (int s = 18; s >= 0; s -= 6) out += kBase64[(v >> s) & 63];
    }
    if (i < bytes.size()) {
        unsigned v = (unsigned char)bytes[i] << 16;
        if (i + 1 < bytes.size()) v |= (unsigned char)bytes[i + 1] << 8;
        out += kBase64[(v >> 18) & 63];
        out += kBase64[(v >> 12) & 63];
        if (i + 1 < bytes.size()) out += kBase64[(v >> 6) & 63];
        if (pad) out.append(i + 1 < bytes.size() ? 1 : 2, '=');
    }
    return out;
}

size_t Append(char* data, size_t size, size_t n, void* out) {
    static_cast<std::string*>(out)->append(data, size * n);
    return size * n;
}

size_t Take(char* buffer, size_t size, size_t n, void* source) {
    const long got = static_cast<UploadSource*>(source)->Read(buffer, size * n);
    return got < 0 ? CURL_READFUNC_ABORT : static_cast<size_t>(got);
}

size_t Discard(char*, size_t size, size_t n, void*) { return size * n; }

void ResetHandle(CURL* curl, const char* protocol) {
    curl_easy_reset(curl);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    // Covers the protocol's own start too (greeting, TLS, SSH handshake, login).
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, kConnectSeconds);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, kLeastBytesPerSecond);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, kStallSeconds);
    curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, kStallSeconds);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, protocol);
}

void UploadFrom(CURL* curl, UploadSource& source) {
    source.Rewind();
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, &Take);
    curl_easy_setopt(curl, CURLOPT_READDATA, &source);
    curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(source.Size()));
}

std::optional<std::uint64_t> SizeAt(CURL* curl, const std::string& url) {
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    if (curl_easy_perform(curl) != CURLE_OK) return std::nullopt;
    curl_off_t size = -1;
    if (curl_easy_getinfo(curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &size) != CURLE_OK || size < 0)
        return std::nullopt;
    return static_cast<std::uint64_t>(size);
}

bool NameFitsCommand(const std::string& name, std::string& error) {
    if (name.find_first_of("\r\n") == std::string::npos && name.find('\0') == std::string::npos)
        return true;
    error = "der Name enth\xE4lt einen Zeilenumbruch";
    return false;
}

std::string Reason(CURLcode code) {
    switch (code) {
        case CURLE_UNSUPPORTED_PROTOCOL:
            return "das Protokoll wird hier nicht unterst\xFCtzt";
        case CURLE_URL_MALFORMAT:
            return "die Adresse des Servers ist ung\xFCltig";
        case CURLE_COULDNT_RESOLVE_PROXY:
            return "Proxy nicht gefunden";
        case CURLE_COULDNT_RESOLVE_HOST:
            return "Server nicht gefunden (Namen pr\xFC"
                   "fen)";
        case CURLE_COULDNT_CONNECT:
            return "Verbindung abgelehnt (Server oder Port pr\xFC"
                   "fen)";
        case CURLE_WEIRD_SERVER_REPLY:
        case CURLE_FTP_WEIRD_PASV_REPLY:
        case CURLE_FTP_WEIRD_227_FORMAT:
            return "unerwartete Antwort des Servers (Port oder Protokoll pr\xFC"
                   "fen)";
        case CURLE_OPERATION_TIMEDOUT:
            return "Der Server antwortet nicht (Zeit\xFC"
                   "berschreitung)";
        case CURLE_LOGIN_DENIED:
        case CURLE_AUTH_ERROR:
            return "Anmeldung abgelehnt";
        case CURLE_REMOTE_FILE_NOT_FOUND:
            return "nicht vorhanden";
        case CURLE_REMOTE_ACCESS_DENIED:
            return "Zugriff verweigert";
        case CURLE_QUOTE_ERROR:
            return "vom Server abgelehnt";
        case CURLE_REMOTE_DISK_FULL:
            return "kein Platz mehr auf dem Server";
        case CURLE_FILESIZE_EXCEEDED:
            return "die Datei ist dem Server zu gro\xDF";
        case CURLE_UPLOAD_FAILED:
            return "der Server hat die Datei nicht angenommen";
        case CURLE_READ_ERROR:
        case CURLE_ABORTED_BY_CALLBACK:
            return "die Datei kann nicht gelesen werden";
        case CURLE_USE_SSL_FAILED:
            return "Der Server bietet kein TLS an";
        case CURLE_SSL_CONNECT_ERROR:
            return "keine verschl\xFCsselte Verbindung m\xF6glich (TLS-Fehler)";
        case CURLE_PEER_FAILED_VERIFICATION:
            return "das Zertifikat des Servers ist nicht beglaubigt";
        case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
            return "der Schl\xFC"
                   "ssel des Servers hat sich ge\xE4ndert";
        case CURLE_SEND_ERROR:
        case CURLE_RECV_ERROR:
        case CURLE_GOT_NOTHING:
        case CURLE_PARTIAL_FILE:
            return "Verbindung unterbrochen";
        case CURLE_OUT_OF_MEMORY:
            return "zu wenig Arbeitsspeicher";
        case CURLE_SSH:
            return std::string("Fehler in der SSH-Verbindung (") + curl_easy_strerror(code) + ")";
        default:
            return std::string(
                       "\xDC"
                       "bertragung fehlgeschlagen (") +
                   curl_easy_strerror(code) + ")";
    }
}

void TrustTls(CURL* curl, const std::string& pin) {
    if (pin.empty()) {
        curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
        curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
        return;
    }
    // The pinned key is the server's identity, as a stored host key is for SSH; a
    // self-signed certificate is trusted through it, and through nothing else.
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 0L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 0L);
    curl_easy_setopt(curl, CURLOPT_PINNEDPUBLICKEY, pin.c_str());
}

std::string PinOfCertificate(const std::string& pem) {
    std::unique_ptr<BIO, decltype(&BIO_free)> bio(
        BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())), &BIO_free);
    if (!bio) return "";
    std::unique_ptr<X509, decltype(&X509_free)> cert(
        PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr), &X509_free);
    if (!cert) return "";
    unsigned char* der = nullptr;
    const int length = i2d_X509_PUBKEY(X509_get_X509_PUBKEY(cert.get()), &der);
    if (length <= 0) return "";
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int digestLength = 0;
    const bool hashed = EVP_Digest(der, static_cast<size_t>(length), digest, &digestLength,
                                   EVP_sha256(), nullptr) == 1;
    OPENSSL_free(der);
    if (!hashed) return "";
    return "sha256//" +
           Base64(std::string_view(reinterpret_cast<const char*>(digest), digestLength), true);
}

std::string ServerPin(const std::string& url, bool ftpTls) {
    CURL* curl = curl_easy_init();
    if (!curl) return "";
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, kConnectSeconds);
    curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    if (ftpTls) curl_easy_setopt(curl, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
    // A pin no key has: the handshake completes, the certificate is read, and the connection
    // is refused before the first command.
    TrustTls(curl, "sha256//AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA=");
    curl_easy_setopt(curl, CURLOPT_CERTINFO, 1L);
    curl_easy_perform(curl);
    std::string pin;
    curl_certinfo* info = nullptr;
    if (curl_easy_getinfo(curl, CURLINFO_CERTINFO, &info) == CURLE_OK && info &&
        info->num_of_certs > 0)
        for (curl_slist* s = info->certinfo[0]; s && pin.empty(); s = s->next)
            if (std::strncmp(s->data, "Cert:", 5) == 0) pin = PinOfCertificate(s->data + 5);
    curl_easy_cleanup(curl);
    return pin;
}

TlsTrust TlsRefusal(CURLcode code, const std::string& url, bool ftpTls, const std::string& pin) {
    TlsTrust trust;
    if (code == CURLE_PEER_FAILED_VERIFICATION && pin.empty())
        trust.unknown = true;
    else if (code == CURLE_SSL_PINNEDPUBKEYNOTMATCH && !pin.empty())
        trust.changed = true;
    else
        return trust;
    trust.pin = ServerPin(url, ftpTls);
    return trust;
}

}  // namespace pagloom::curlsupport
