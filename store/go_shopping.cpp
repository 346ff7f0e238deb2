// go_shopping: loads a product catalogue, applies customers' transactions to their carts and
// reports the carts that were not checked out.

#include <iostream>
#include <limits>
#include <string>

#include "Store.h"
#include "input_file.h"
#include "memory_exhaustion.h"
#include "program_name.h"
#include "standard_output.h"

namespace {

const int kFailure = 1;

// Reports a stream that can no longer be read and returns the failure status.
int abort_on_input_error() {
    std::cerr << "Input error...cannot recover...aborting." << std::endl;
    return kFailure;
}

// Discards the rest of the current line, up to and including its line break.
void skip_line(std::istream& in) {
    in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
}

// Reads the quantity and product of a buys or returns transaction and hands it to the store.
// Returns false when the stream can no longer be read.
bool process_purchase(std::istream& in, Store& store, const std::string& customer,
                      const std::string& command) {
    int quantity;
    std::string product_name;
    if (in >> quantity >> product_name) {
        store.process_cart(customer, command, quantity, product_name);
        return true;
    }
    if (in.bad()) {
        return false;
    }
    std::cerr << "Input error...skipping line" << std::endl;
    in.clear();
    skip_line(in);
    return true;
}

// Hands every transaction of in to the store, then has it write the closing report.
// Returns the program's exit status.
int run_transactions(std::istream& in, Store& store) {
    std::string customer;
    std::string command;
    // Each message and cart is flushed as it is written, so a failed write shows right after the
    // transaction that made it; the transactions after it are not read.
    while (!standard_output_lost() && in >> customer >> command) {
        if (command == Store::SHOWCART || command == Store::CHECKOUT) {
            store.process_cart(customer, command);
        } else if (command == Store::BUYS || command == Store::RETURNS) {
            if (!process_purchase(in, store, customer, command)) {
                return abort_on_input_error();
            }
        } else {
            std::cerr << "Illegal command \"" << command << "\"...skipping line." << std::endl;
            skip_line(in);
        }
    }
    if (standard_output_lost()) {
        return report_write_error();
    }
    if (in.bad() || !in.eof()) {
        return abort_on_input_error();
    }
    store.close(std::cout);
    return finish_standard_output();
}

}  // namespace

int main(int argc, char* argv[]) {
    exit_on_memory_exhaustion();
    // std::cout keeps its own buffer instead of handing every insertion to C stdio.
    std::ios::sync_with_stdio(false);
    std::cout << "Welcome to our online store!" << std::endl;
    if (standard_output_lost()) {
        return report_write_error();
    }
    if (argc > 1) {
        std::cerr << invoked_name(argc, argv, "go_shopping") << std::endl;
        return kFailure;
    }

    input_file input(standard_input);
    std::cerr << "Enter products file name:  " << std::flush;
    std::string products_file;
    input >> products_file;
    Store store(products_file);
    if (!store.is_open()) {
        std::cerr << "Store remains empty...exiting." << std::endl;
        return kFailure;
    }

    std::cerr << "Enter transactions file name (\"-\" for standard input):  " << std::flush;
    // Input that ends before the name leaves it empty, and no file of that name can be opened.
    std::string transactions_file;
    input >> transactions_file;
    if (transactions_file == "-") {
        return run_transactions(input, store);
    }
    input_file transactions(transactions_file);
    if (!transactions.is_open()) {
        std::cerr << "ERROR:  Failed to open file...aborting." << std::endl;
        return kFailure;
    }
    return run_transactions(transactions, store);
}
