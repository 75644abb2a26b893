#pragma once

#include "platform/UserMessages.h"

#include <string>
#include <vector>

// Records every message and answers questions from a queue (default "No").
class RecordingMessages : public UserMessages {
public:
    struct Message {
        std::string caption;
        std::string text;
        MessageIcon icon;
    };

    void showMessage(const std::string& caption, const std::string& text, MessageIcon icon) override
    {
        messages.push_back({caption, text, icon});
    }
    bool askYesNo(const std::string& caption, const std::string& text) override
    {
        questions.push_back({caption, text, MessageIcon::Question});
        if (answers.empty())
            return false;
        bool a = answers.front();
        answers.erase(answers.begin());
        return a;
    }

    SaveAnswer askSave(const std::string& caption, const std::string& text) override
    {
        saveQuestions.push_back({caption, text, MessageIcon::Question});
        if (saveAnswers.empty())
            return SaveAnswer::Cancel;
        SaveAnswer a = saveAnswers.front();
        saveAnswers.erase(saveAnswers.begin());
        return a;
    }

    std::vector<Message> messages;
    std::vector<Message> saveQuestions;
    std::vector<SaveAnswer> saveAnswers;
    std::vector<Message> questions;
    std::vector<bool> answers;
};

// Installs a recorder as the application-wide hook for one scope.
class ScopedMessages {
public:
    ScopedMessages() { setUserMessages(&recorder); }
    ~ScopedMessages() { setUserMessages(nullptr); }
    ScopedMessages(const ScopedMessages&) = delete;
    ScopedMessages& operator=(const ScopedMessages&) = delete;

    RecordingMessages recorder;
};
