import com.shop.model.Item;
import com.shop.model.Order;

// A class of the default package.
public class Main {
    public static void main(String[] args) {
        Order order = new Order().add(new Item("pen", 2.5));
        System.out.println(order.price());
    }
}
