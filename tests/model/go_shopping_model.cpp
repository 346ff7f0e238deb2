// go_shopping: two file names read from standard input, the catalogue loaded from the first,
// the transactions of the second (or of the rest of standard input for "-") applied to the store.

#include <fstream>
#include <limits>
#include <string>

#include "StoreModel.h"
#include "program_models.h"

namespace {

void skip_line(std::istream& in) {
    in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
}

// Applies each transaction of in to store, then appends the closing report. A transaction is a
// customer and a command word, and for buys and returns a quantity (an int) and a product; one
// that cannot be read in full, or whose command word is none of the four, costs the rest of its
// line. A word that ends the input counts as read.
void run_transactions(std::istream& in, StoreModel& store, ProgramRun& run) {
    std::string customer;
    std::string command;
    while (in >> customer >> command) {
        if (command == "showcart" || command == "checkout") {
            store.show_or_check_out(customer, command, run.out, run.err);
        } else if (command == "buys" || command == "returns") {
            int quantity;
            std::string product_name;
            if (in >> quantity >> product_name) {
                store.purchase(customer, command, quantity, product_name, run.out, run.err);
            } else {
                run.err += "Input error...skipping line\n";
                in.clear();
                skip_line(in);
            }
        } else {
            run.err += "Illegal command \"" + command + "\"...skipping line.\n";
            skip_line(in);
        }
    }
    run.out += store.closing_report();
}

}  // namespace

ProgramRun model_go_shopping(const std::vector<std::string>& args, std::istream& in) {
    if (!args.empty()) {
        throw OutsideModel("go_shopping takes no arguments");
    }
    ProgramRun run;
    run.out = "Welcome to our online store!\n";
    run.err = "Enter products file name:  ";
    std::string products_name;
    in >> products_name;
    std::ifstream products(products_name, std::ios::binary);
    StoreModel store(load_catalogue(products));
    if (!store.open()) {
        run.err += "Store remains empty...exiting.\n";
        run.status = 1;
        return run;
    }
    run.err += "Enter transactions file name (\"-\" for standard input):  ";
    std::string transactions_name;
    in >> transactions_name;
    if (transactions_name == "-") {
        run_transactions(in, store, run);
        return run;
    }
    std::ifstream transactions = open_input(transactions_name);
    run_transactions(transactions, store, run);
    return run;
}
