#pragma once

#include <stdexcept>
#include <string>

namespace db {

// A failure of the database layer. The text is for developers and logs only;
// pages show their own fixed message instead.
class DbError : public std::runtime_error {
public:
    enum class Kind { Connect, Statement, Result };

    DbError(Kind kind, const std::string& what, unsigned code = 0, std::string sqlState = {},
            std::string statement = {})
        : std::runtime_error(what), kind_(kind), code_(code), sqlState_(std::move(sqlState)),
          statement_(std::move(statement)) {}

    Kind kind() const noexcept { return kind_; }
    unsigned code() const noexcept { return code_; }
    const std::string& sqlState() const noexcept { return sqlState_; }
    const std::string& statement() const noexcept { return statement_; }
    // The server rolled the whole transaction back because another one took
    // the same rows first: a deadlock, or on a Galera cluster a transaction
    // of another node that committed first (error 1213 either way). Nothing
    // of it was kept.
    bool isConflict() const noexcept { return sqlState_ == "40001"; }
    // A refusal that our routines raise on purpose (SIGNAL SQLSTATE '45000'),
    // whose text is a sentence for the user: a rule that does not allow the
    // act, never a technical fault.
    bool isRefusal() const noexcept { return sqlState_ == "45000"; }

private:
    Kind kind_;
    unsigned code_;
    std::string sqlState_;
    std::string statement_;
};

} // namespace db
