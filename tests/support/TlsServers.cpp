// SPDX-License-Identifier: MIT
#include "TlsServers.h"

#include <pwd.h>
#include <unistd.h>

#include <filesystem>

namespace pagloom::test {

FtpsServer::FtpsServer() {
    const std::string& dir = process_.Dir();
    if (dir.empty()) return;
    if (::geteuid() != 0 || !std::filesystem::exists("/usr/sbin/vsftpd")) {
        skipped_ = true;
        process_.Fail("vsftpd needs root and /usr/sbin/vsftpd");
        return;
    }
    pin_ = MakeCertificate(dir);
    const std::string root = dir + "/root";
    folder_ = root + "/htdocs";
    std::filesystem::create_directories(folder_);
    // The virtual user's files belong to "daemon", whose home folder exists everywhere.
    const passwd* daemon = ::getpwnam("daemon");
    if (!daemon) {
        process_.Fail("no user daemon");
        return;
    }
    ::chown(root.c_str(), daemon->pw_uid, daemon->pw_gid);
    ::chown(folder_.c_str(), daemon->pw_uid, daemon->pw_gid);
    WriteText(dir + "/users",
              user_ + ":" + RunCommand("openssl passwd -6 " + password_ + " | tr -d '\\n'") + "\n");
    port_ = FreePort();
    pamService_ = "pagloom-test-ftps-" + std::to_string(port_);
    WriteText("/etc/pam.d/" + pamService_, "auth required pam_pwdfile.so pwdfile=" + dir +
                                               "/users\naccount required pam_permit.so\n");
    std::filesystem::create_directories("/var/run/vsftpd/empty");
    WriteText(dir + "/vsftpd.conf",
              "listen=YES\nlisten_address=127.0.0.1\nlisten_port=" + std::to_string(port_) +
                  "\nbackground=NO\nanonymous_enable=NO\nlocal_enable=YES\nguest_enable=YES\n"
                  "guest_username=daemon\nvirtual_use_local_privs=YES\nwrite_enable=YES\n"
                  "local_root=" +
                  root + "\npam_service_name=" + pamService_ +
                  "\nchroot_local_user=YES\nallow_writeable_chroot=YES\nseccomp_sandbox=NO\ncheck_"
                  "shell=NO\nssl_enable=YES\nrsa_cert_file=" +
                  dir + "/cert.pem\nrsa_private_key_file=" + dir +
                  "/key.pem\nforce_local_logins_ssl=YES\nforce_local_data_ssl=YES\n"
                  "ssl_tlsv1=NO\nssl_sslv2=NO\nssl_sslv3=NO\npasv_enable=YES\n"
                  "pasv_address=127.0.0.1\nlocal_umask=022\nfile_open_mode=0644\n"
                  "secure_chroot_dir=/var/run/vsftpd/empty\nxferlog_enable=NO\n"
                  "max_clients=50\nmax_per_ip=50\nvsftpd_log_file=" +
                  dir + "/vsftpd.log\n");
    process_.Start({"/usr/sbin/vsftpd", dir + "/vsftpd.conf"}, port_, dir + "/vsftpd.log");
}

FtpsServer::~FtpsServer() {
    process_.Stop();
    if (!pamService_.empty()) std::filesystem::remove("/etc/pam.d/" + pamService_);
}

DavServer::DavServer() {
    const std::string& dir = process_.Dir();
    if (dir.empty()) return;
    if (!std::filesystem::exists("/usr/sbin/lighttpd")) {
        skipped_ = true;
        process_.Fail("no /usr/sbin/lighttpd");
        return;
    }
    pin_ = MakeCertificate(dir);
    WriteText(dir + "/both.pem", ReadText(dir + "/key.pem") + ReadText(dir + "/cert.pem"));
    const std::string root = dir + "/root";
    folder_ = root + "/htdocs";
    std::filesystem::create_directories(folder_);
    WriteText(dir + "/users", user_ + ":" + password_ + "\n");
    port_ = FreePort();
    WriteText(dir + "/lighttpd.conf",
              "server.document-root = \"" + root + "\"\nserver.port = " + std::to_string(port_) +
                  "\nserver.bind = \"127.0.0.1\"\n"
                  "server.modules = (\"mod_webdav\", \"mod_auth\", \"mod_authn_file\", "
                  "\"mod_openssl\")\n"
                  "ssl.engine = \"enable\"\nssl.pemfile = \"" +
                  dir +
                  "/both.pem\"\nwebdav.activate = \"enable\"\nwebdav.is-readonly = \"disable\"\n"
                  "auth.backend = \"plain\"\nauth.backend.plain.userfile = \"" +
                  dir +
                  "/users\"\nauth.require = (\"/\" => (\"method\" => \"basic\", \"realm\" => "
                  "\"pagloom\", \"require\" => \"valid-user\"))\nserver.errorlog = \"" +
                  dir + "/error.log\"\n");
    process_.Start({"/usr/sbin/lighttpd", "-D", "-f", dir + "/lighttpd.conf"}, port_,
                   dir + "/error.log");
}

}  // namespace pagloom::test
