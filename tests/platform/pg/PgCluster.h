#pragma once
// A throwaway PostgreSQL cluster of the tests' own: initdb in a temporary folder, the server
// on a Unix socket there and nowhere else, run as an unprivileged user when the tests run as
// root (the server refuses root). A watchdog process stops it and removes the folder when
// the test program ends, however it ends.
#include <string>

namespace saroko::test {

class CPgCluster {
public:
    // The cluster of this test program, started on first use; nullptr when the server's
    // programs are not installed or it would not start (Reason() says why).
    static CPgCluster* Get();
    static const std::string& Reason();

    // A connection string for `db` (made when missing) as `user`.
    std::string Conninfo(const std::string& db, const std::string& user = kAdmin) const;
    // Makes an empty database.
    void CreateDatabase(const std::string& db);
    // psql's output (stdout and stderr) for `sql`, and its exit status.
    std::string Psql(const std::string& db, const std::string& sql, int* status = nullptr,
                     const std::string& user = kAdmin) const;
    // Runs a shell script with PGHOST, PGDATABASE, PGUSER set and the server's programs on PATH.
    std::string Shell(const std::string& db, const std::string& script,
                      int* status = nullptr) const;
    bool Stop();
    bool Start();
    const std::string& Folder() const { return m_dir; }

    static constexpr const char* kAdmin = "saroko_admin";

private:
    bool Init();
    std::string m_bin;
    std::string m_dir;
};

} // namespace saroko::test
