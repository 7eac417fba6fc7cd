package com.shop.model;

import java.util.ArrayList;
import java.util.List;
import java.util.Map;
import com.shop.service.PriceFormatter;

public class Order implements Priced {
    private final List<Item> items = new ArrayList<>();
    private Line[] lines, spare;
    static int created = 0;

    public Order() {
        created++;
    }

    public Order add(Item item) {
        items.add(item);
        return this;
    }

    public Order add(Item item, int quantity) {
        for (int i = 0; i < quantity; i++) add(item);
        return this;
    }

    public Order add(final Item... more) {
        for (Item item : more) add(item);
        return this;
    }

    public <T extends Priced> Map<String, List<T>> group(List<? extends T> priced, int buckets[]) {
        return null;
    }

    public Line[] lines() {
        return lines;
    }

    @Override
    public double price() {
        double total = 0;
        for (Item item : items) total += item.price();
        return total;
    }

    public int size() {
        return items.size();
    }

    public String label(PriceFormatter formatter) {
        return formatter.format(price());
    }

    /** One line of an order. */
    public static class Line {
        Item item;
        int quantity;
    }
}
