/*
 * The application's exception class: it carries the message the application's exception box
 * shows. Anything else thrown is shown with an empty message.
 */
#pragma once

#include <exception>
#include <string>

class TException : public std::exception {
public:
    explicit TException(std::string message) : Text(std::move(message)) {}
    const std::string& Message() const { return Text; }
    const char* what() const noexcept override { return Text.c_str(); }

private:
    std::string Text;
};
