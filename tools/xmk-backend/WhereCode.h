// WhereCode: turns the where-code of a query (a filter such as
// `ProjectName LIKE '%路%' AND Amount >= 1000`) into an SQL expression over the JSON members
// of a record. Only member names, literals, comparison operators, AND, OR, NOT, IS, NULL,
// LIKE, IN, BETWEEN, commas and parentheses are let through, and every literal is bound as a
// parameter, so a where-code can never run SQL of its own. Stateless.
#pragma once

#include <string>
#include <vector>

#include "Database.h"

class WhereCode {
  public:
    // Appends the expression to `sql` and its literals to `params`. A member name N becomes
    // the member's value in `dataColumn`; the name ID stands for the record number.
    // False, with `error` set, when the code holds anything else.
    static bool Translate(const std::string& code, const std::string& dataColumn, std::string* sql,
                          std::vector<SqlValue>* params, std::string* error);
    // The SQL that reads member `name` of the JSON column `dataColumn`; empty when the name
    // cannot be written as a JSON path.
    static std::string MemberPath(const std::string& dataColumn, const std::string& name);
};
